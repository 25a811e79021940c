#pragma once

#include <array>
#include <string>

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {

// The workspace's settings: three folders, six sizes and qualities, the originals preview
// switch. Kept in the "Tessaluma" section of the settings file, read when the workspace is
// built and written when it is destroyed.
inline constexpr const char kSettingsSection[] = "Tessaluma";

struct SettingKey {
    const char* key;
    const char* defaultValue; // none: the platform's start folder (defaultPhotoFolder)
};

// The nine text keys, in the order they are read and written.
enum TextSetting {
    PercorsoFotoOriginali,
    PercorsoFotoRidotte,
    PercorsoFotoThumbs,
    LFotoRidotte,
    AFotoRidotte,
    CFotoRidotte,
    LFotoThumbs,
    AFotoThumbs,
    CFotoThumbs,
    TextSettingCount
};
inline constexpr std::array<SettingKey, TextSettingCount> kTextSettings{{
    {"PercorsoFotoOriginali", nullptr},
    {"PercorsoFotoRidotte", nullptr},
    {"PercorsoFotoThumbs", nullptr},
    {"LFotoRidotte", "800"},
    {"AFotoRidotte", "600"},
    {"CFotoRidotte", "80"},
    {"LFotoThumbs", "640"},
    {"AFotoThumbs", "480"},
    {"CFotoThumbs", "50"},
}};
// Written "SI" while the originals preview is shown and "NO" while it is disabled; only
// exactly "SI" reads as shown.
inline constexpr SettingKey kPreviewSetting{"AnteprimaOriginali", "NO"};

struct Settings {
    std::array<std::string, TextSettingCount> texts; // as typed, unchecked
    bool originalsPreviewDisabled = true;
};

// Whether the folder that holds the settings file, the start folder, is gone (or was never
// known): the settings are then neither read nor written anywhere else.
bool settingsFolderGone(platform::FileSystem& fs, const std::string& iniPath);
// What the user is told, once, when that happens.
inline constexpr const char kSettingsFolderGone[] =
    "La cartella di avvio non esiste più: le impostazioni non vengono lette né salvate.";

// Reads the settings with one read of the file; missing keys give their defaults (a folder the
// platform's start folder), an empty value stays empty. With the start folder gone, the
// defaults.
Settings readSettings(platform::FileSystem& fs, const std::string& iniPath);

// Writes the ten keys in order with one write of the file; a value the file already holds keeps
// its bytes. A value that cannot be stored does not stop the others; then, or when the file
// cannot be written, throws tess::Error("Unable to write to <iniPath>"). With the start folder
// gone, writes nothing.
void writeSettings(platform::FileSystem& fs, const std::string& iniPath, const Settings& settings);

class Prompt;
// Writes the settings; a failure is shown and goes no further, so a window can still close.
void saveSettings(platform::FileSystem& fs, const std::string& iniPath, const Settings& settings,
                  Prompt& prompt);

} // namespace tess::workspace
