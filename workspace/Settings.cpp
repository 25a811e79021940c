#include "workspace/Settings.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"
#include "workspace/Prompt.h"

#include <exception>

namespace tess::workspace {

namespace {

// The ten keys in the order they are read and written.
std::vector<std::string> settingKeys() {
    std::vector<std::string> keys;
    for (const SettingKey& setting : kTextSettings)
        keys.emplace_back(setting.key);
    keys.emplace_back(kPreviewSetting.key);
    return keys;
}

} // namespace

bool settingsFolderGone(platform::FileSystem& fs, const std::string& iniPath) {
    const std::string folder = platform::splitSearchPattern(iniPath).folder;
    return folder.empty() || !fs.directoryExists(folder);
}

Settings readSettings(platform::FileSystem& fs, const std::string& iniPath) {
    Settings settings;
    std::vector<std::optional<std::string>> values(kTextSettings.size() + 1);
    if (!settingsFolderGone(fs, iniPath))
        values = fs.getProfileStrings(kSettingsSection, settingKeys(), iniPath);
    for (std::size_t i = 0; i < kTextSettings.size(); ++i) {
        const char* fixed = kTextSettings[i].defaultValue;
        settings.texts[i] = values[i] ? *values[i] : fixed ? fixed : fs.defaultPhotoFolder();
    }
    settings.originalsPreviewDisabled =
        values.back().value_or(kPreviewSetting.defaultValue) != "SI";
    return settings;
}

void writeSettings(platform::FileSystem& fs, const std::string& iniPath, const Settings& settings) {
    if (settingsFolderGone(fs, iniPath))
        return;
    const std::vector<std::string> keys = settingKeys();
    std::vector<platform::ProfileSetting> values;
    for (std::size_t i = 0; i < kTextSettings.size(); ++i)
        values.push_back({keys[i], settings.texts[i]});
    values.push_back({keys.back(), settings.originalsPreviewDisabled ? "NO" : "SI"});
    if (!fs.writeProfileStrings(kSettingsSection, values, iniPath))
        throw Error("Unable to write to " + platform::singleLineText(iniPath));
}

void saveSettings(platform::FileSystem& fs, const std::string& iniPath, const Settings& settings,
                  Prompt& prompt) {
    try {
        writeSettings(fs, iniPath, settings);
    } catch (const std::exception& error) {
        prompt.reportError(error.what());
    }
}

} // namespace tess::workspace
