#include "workspace/Settings.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"

namespace tess::workspace {
namespace {

void writeKey(platform::FileSystem& fs, const std::string& iniPath, const char* key,
              const std::string& value) {
    if (!fs.writeProfileString(kSettingsSection, key, value, iniPath))
        throw Error("Unable to write to " + iniPath);
}

} // namespace

Settings readSettings(platform::FileSystem& fs, const std::string& iniPath) {
    Settings settings;
    for (std::size_t i = 0; i < kTextSettings.size(); ++i)
        settings.texts[i] = fs.getProfileString(kSettingsSection, kTextSettings[i].key,
                                                kTextSettings[i].defaultValue, iniPath);
    settings.originalsPreviewDisabled =
        fs.getProfileString(kSettingsSection, kPreviewSetting.key, kPreviewSetting.defaultValue,
                            iniPath) != "SI";
    return settings;
}

void writeSettings(platform::FileSystem& fs, const std::string& iniPath, const Settings& settings) {
    for (std::size_t i = 0; i < kTextSettings.size(); ++i)
        writeKey(fs, iniPath, kTextSettings[i].key, settings.texts[i]);
    writeKey(fs, iniPath, kPreviewSetting.key, settings.originalsPreviewDisabled ? "NO" : "SI");
}

} // namespace tess::workspace
