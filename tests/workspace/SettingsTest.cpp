#include "ErrorText.h"
#include "TempDir.h"

#include "platform/Error.h"
#include "platform/SystemFileSystem.h"
#include "workspace/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tess::workspace;
using tess::test::TempDir;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    // The folders start where the file layer says.
    struct StartFolderFileSystem : tess::platform::SystemFileSystem {
        std::string defaultPhotoFolder() override { return "C:\\Foto\\"; }
    } fs;
    TempDir dir;
    std::string ini = dir.win("Tessaluma.ini");
    std::string pictures = "C:\\Foto\\";
};

} // namespace

TEST_F(SettingsTest, MissingFileGivesTheDefaults) {
    const Settings s = readSettings(fs, ini);
    const std::string expected[] = {pictures, pictures, pictures, "800", "600",
                                    "80",     "640",    "480",    "50"};
    for (int i = 0; i < TextSettingCount; ++i)
        EXPECT_EQ(s.texts[i], expected[i]) << i;
    EXPECT_TRUE(s.originalsPreviewDisabled);
}

TEST_F(SettingsTest, RoundTripKeepsTextAsTypedIncludingEmptyValues) {
    Settings s;
    s.texts = {"C:\\Foto\\", "", "  spazi  ", "abc", "'q'", "\"dq\"", "0x10", "-5", "è"};
    s.originalsPreviewDisabled = false;
    writeSettings(fs, ini, s);
    const Settings back = readSettings(fs, ini);
    EXPECT_EQ(back.texts, s.texts);
    EXPECT_FALSE(back.originalsPreviewDisabled);
    EXPECT_TRUE(dir.read("Tessaluma.ini").find("AnteprimaOriginali=SI") != std::string::npos);

    // A second write of the same values leaves the file as it was.
    const std::string before = dir.read("Tessaluma.ini");
    writeSettings(fs, ini, back);
    EXPECT_EQ(dir.read("Tessaluma.ini"), before);
}

TEST_F(SettingsTest, OnlyExactlySiShowsThePreview) {
    for (const char* value : {"si", "Si", "NO", "", "SI "}) {
        dir.write("Tessaluma.ini",
                  std::string("[Tessaluma]\r\nAnteprimaOriginali=") + value + "\r\n");
        // A value with a trailing blank reads back trimmed, as profile strings do.
        const bool expectedDisabled = std::string(value) != "SI ";
        EXPECT_EQ(readSettings(fs, ini).originalsPreviewDisabled, expectedDisabled) << value;
    }
}

TEST_F(SettingsTest, WritesKeysInOrderAndKeepsForeignSections) {
    dir.write("Tessaluma.ini", "; mio commento\r\n[Altro]\r\nChiave=1\r\n");
    writeSettings(fs, ini, readSettings(fs, ini));
    const std::string text = dir.read("Tessaluma.ini");
    EXPECT_EQ(text.rfind("; mio commento\r\n[Altro]\r\nChiave=1\r\n", 0), 0u);
    std::size_t last = 0;
    for (const SettingKey& key : kTextSettings) {
        const std::size_t at = text.find(std::string(key.key) + "=");
        ASSERT_NE(at, std::string::npos) << key.key;
        EXPECT_GT(at, last) << key.key;
        last = at;
    }
    EXPECT_GT(text.find("AnteprimaOriginali=NO"), last);
}

TEST_F(SettingsTest, ReadOnlyFileIsReportedAndLeftAsItWas) {
    dir.write("Tessaluma.ini", "[Tessaluma]\r\nLFotoRidotte=1\r\n");
    std::filesystem::permissions(dir.host("Tessaluma.ini"),
                                 std::filesystem::perms::owner_read |
                                     std::filesystem::perms::group_read |
                                     std::filesystem::perms::others_read);
    EXPECT_EQ(tess::test::errorOf([&] { writeSettings(fs, ini, Settings{}); }),
              "Unable to write to " + ini);
    EXPECT_EQ(dir.read("Tessaluma.ini"), "[Tessaluma]\r\nLFotoRidotte=1\r\n");
}

TEST_F(SettingsTest, ValuesWrittenOnWindowsSurviveAnUntouchedSession) {
    const std::string windowsFile =
        "[Tessaluma]\r\nPercorsoFotoRidotte=C:\\Foto\\Mare \xE8 sole\\\r\n"
        "LFotoRidotte = \"1024\" \r\nAnteprimaOriginali=SI\r\n";
    dir.write("Tessaluma.ini", windowsFile);
    Settings s = readSettings(fs, ini);
    EXPECT_EQ(s.texts[PercorsoFotoRidotte], "C:\\Foto\\Mare è sole\\");
    writeSettings(fs, ini, s);
    const std::string written = dir.read("Tessaluma.ini");
    EXPECT_EQ(written.substr(0, windowsFile.size()), windowsFile);
    // The keys that were missing follow, and nothing else changed.
    EXPECT_EQ(readSettings(fs, ini).texts, s.texts);
}

TEST_F(SettingsTest, AValueThatCannotBeStoredDoesNotStopTheOthers) {
    Settings s;
    s.texts[PercorsoFotoOriginali] = "C:\\Foto\\\nD:\\";
    s.texts[CFotoThumbs] = "70";
    EXPECT_EQ(tess::test::errorOf([&] { writeSettings(fs, ini, s); }), "Unable to write to " + ini);
    const Settings back = readSettings(fs, ini);
    EXPECT_EQ(back.texts[PercorsoFotoOriginali], pictures); // missing: the default
    EXPECT_EQ(back.texts[CFotoThumbs], "70");
}

TEST_F(SettingsTest, NothingIsReadOrWrittenOnceTheStartFolderIsGone) {
    dir.write("Tessaluma.ini", "[Tessaluma]\r\nLFotoRidotte=1\r\n");
    Settings changed;
    changed.texts.fill("2");
    for (const std::string& path : {dir.win("gone\\Tessaluma.ini"), std::string()}) {
        EXPECT_TRUE(settingsFolderGone(fs, path)) << path;
        EXPECT_EQ(readSettings(fs, path).texts[LFotoRidotte], "800") << path;
        writeSettings(fs, path, changed);
    }
    EXPECT_FALSE(settingsFolderGone(fs, ini));
    EXPECT_FALSE(dir.exists("gone"));
    EXPECT_EQ(dir.read("Tessaluma.ini"), "[Tessaluma]\r\nLFotoRidotte=1\r\n");
}
