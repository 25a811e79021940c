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
    const char* defaultValue;
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
    {"PercorsoFotoOriginali", "C:\\WINDOWS\\"},
    {"PercorsoFotoRidotte", "C:\\WINDOWS\\"},
    {"PercorsoFotoThumbs", "C:\\WINDOWS\\"},
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

// Reads the settings; missing keys give their defaults, an empty value stays empty.
Settings readSettings(platform::FileSystem& fs, const std::string& iniPath);

// Writes the ten keys in order. Throws tess::Error("Unable to write to <iniPath>") at the
// first key that cannot be written; the keys after it are not written.
void writeSettings(platform::FileSystem& fs, const std::string& iniPath, const Settings& settings);

} // namespace tess::workspace
