// What only the stand-in layer shows: the mapping of Windows paths to host paths, names that
// differ only in case, hidden dot names, permission bits and links.
#include "platform/PosixFileSystem.h"

#include "TempFolder.h"
#include "platform/Error.h"
#include "platform/PicturesFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace tess::platform {
namespace {

using test::ScopedCurrentDirectory;
using test::TempFolder;

class PosixFileSystemTest : public ::testing::Test {
protected:
    TempFolder m_folder;
    PosixFileSystem m_fs;
};

TEST_F(PosixFileSystemTest, MapsWindowsPathsToHostPaths) {
    m_folder.makeFolder("Foto");
    m_folder.makeFolder("Foto/Sub");
    m_folder.makeFile("Foto/Sub/img.jpg", "jpeg");
    m_folder.makeFile("Both.txt", "upper");
    m_folder.makeFile("both.txt", "lower");
    // Separators, dots and drives are resolveWindowsPath's (WindowsPathTest); here the names
    // found on the disk whatever their letter case.
    const std::string w = m_folder.windows();
    std::string lowered = w;
    lowered[0] = 'c';

    struct Case {
        std::string windows;
        std::string host; // below the temporary folder
    };
    const std::vector<Case> cases = {
        {w + "\\Foto\\Sub\\img.jpg", "Foto/Sub/img.jpg"},
        {lowered + "\\FOTO\\sub\\IMG.JPG", "Foto/Sub/img.jpg"},
        {w + "\\Both.txt", "Both.txt"},
        {w + "\\both.txt", "both.txt"},
        {w + "\\BOTH.TXT", "Both.txt"},
        {w + "\\foto\\missing\\New.jpg", "Foto/missing/New.jpg"},
        {w + "\\FOTO\\", "Foto"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_fs.hostPath(c.windows), m_folder.hostPath(c.host)) << c.windows;
    }
    EXPECT_EQ(m_fs.hostPath("c:/"), "/");

    // What the mapping finds is what the file functions use.
    EXPECT_TRUE(m_fs.fileExists(lowered + "\\FOTO\\sub\\IMG.JPG"));
    EXPECT_EQ(m_fs.readFile(w + "\\BOTH.TXT"),
              std::vector<std::uint8_t>({'u', 'p', 'p', 'e', 'r'}));
    EXPECT_EQ(m_fs.readFile(w + "\\both.txt"),
              std::vector<std::uint8_t>({'l', 'o', 'w', 'e', 'r'}));
}

TEST_F(PosixFileSystemTest, KeepsTheCurrentDirectoryAsSpeltAndResolvesRelativePathsAgainstIt) {
    m_folder.makeFolder("Foto");
    m_folder.makeFile("Foto/img.jpg");
    ScopedCurrentDirectory restore(m_folder.host());
    // The folder is reported as it is spelt on the disk.
    EXPECT_TRUE(m_fs.setCurrentDirectory("FOTO"));
    EXPECT_EQ(m_fs.currentDirectory(), m_folder.windowsPath("Foto"));
    for (const char* path : {"img.jpg", "IMG.jpg", "C:img.jpg", ".\\img.jpg", "..\\Foto\\img.jpg",
                             "..\\foto/.\\img.jpg"}) {
        EXPECT_EQ(m_fs.hostPath(path), m_folder.hostPath("Foto/img.jpg")) << path;
        EXPECT_TRUE(m_fs.fileExists(path)) << path;
    }
    EXPECT_EQ(m_fs.hostPath("."), m_folder.hostPath("Foto"));
    EXPECT_EQ(m_fs.hostPath("C:"), m_folder.hostPath("Foto"));

    // Host paths as Windows text.
    EXPECT_EQ(PosixFileSystem::windowsPath("/"), "C:\\");
    EXPECT_EQ(PosixFileSystem::windowsPath("/tmp/x"), "C:\\tmp\\x");
    EXPECT_EQ(PosixFileSystem::windowsPath("/tmp//x/"), "C:\\tmp\\x");
}

TEST_F(PosixFileSystemTest, NamesNothingOnOtherDrives) {
    m_folder.makeFile("a.jpg", "x");
    m_folder.makeFile("tess.ini", "[Main]\r\nQuality=80\r\n");
    m_folder.makeFolder("sub");
    const std::string here = m_folder.windowsPath("a.jpg");
    for (const char letter : {'A', 'D', 'z'}) {
        const auto there = [&](const char* name) {
            std::string path = m_folder.windowsPath(name);
            path[0] = letter;
            return path;
        };
        const std::string path = there("a.jpg");
        EXPECT_EQ(m_fs.hostPath(path), "") << path;
        EXPECT_FALSE(m_fs.fileExists(path)) << path;
        EXPECT_FALSE(m_fs.directoryExists(there("sub"))) << path;
        EXPECT_EQ(m_fs.attributes(path), kInvalidAttributes) << path;
        EXPECT_TRUE(m_fs.findFiles(there("sub") + "\\*.*").empty()) << path;
        EXPECT_FALSE(m_fs.sameFile(path, here)) << path;
        EXPECT_FALSE(m_fs.setCurrentDirectory(there("sub"))) << path;
        EXPECT_THROW(m_fs.readFile(path), Error) << path;
        EXPECT_THROW(m_fs.writeFile(path, "y", 1), Error) << path;
        EXPECT_FALSE(m_fs.deleteFile(path)) << path;
        EXPECT_FALSE(m_fs.moveFile(here, there("b.jpg"))) << path;
        EXPECT_FALSE(m_fs.moveFile(path, there("b.jpg"))) << path;
        EXPECT_EQ(m_fs.getProfileStrings("Main", {"Quality"}, there("tess.ini")).front(),
                  std::nullopt);
        EXPECT_FALSE(m_fs.writeProfileStrings("Main", {{"Quality", "1"}}, there("tess.ini")));
    }
    EXPECT_EQ(m_folder.names(), (std::vector<std::string>{"a.jpg", "sub", "tess.ini"}));
    EXPECT_EQ(m_folder.contents("a.jpg"), "x");
    EXPECT_EQ(m_fs.drives(), std::vector<std::string>{"C:"});
}

TEST_F(PosixFileSystemTest, SearchShowsDotNamesHiddenAndGivesDotsTheFolderOwnAttributes) {
    m_folder.makeFile(".hidden");
    m_folder.makeFolder(".cfg");
    m_folder.makeFolder("ro", 0555);
    m_folder.makeFolder(".ro", 0555);
    EXPECT_EQ(m_fs.findFiles(m_folder.windowsPath("*.*")),
              (std::vector<FindEntry>{
                  {".", 16}, {"..", 16}, {".cfg", 18}, {".hidden", 34}, {".ro", 19}, {"ro", 17}}));
    const std::vector<std::pair<std::string, std::uint32_t>> cases = {
        {".cfg", 18}, {"ro", 17}, {".ro", 19}};
    for (const auto& [folder, value] : cases) {
        const auto entries = m_fs.findFiles(m_folder.windowsPath(folder) + "\\*.*");
        ASSERT_GE(entries.size(), 2u) << folder;
        EXPECT_EQ(entries[0], (FindEntry{".", value})) << folder;
        EXPECT_EQ(entries[1], (FindEntry{"..", value})) << folder;
    }
}

TEST_F(PosixFileSystemTest, SearchFollowsLinksAndSkipsDanglingOnes) {
    m_folder.makeFolder("target");
    m_folder.makeFile("file.jpg", "x", 0444);
    m_folder.makeFolder("links");
    m_folder.makeLink("links/toFolder", "../target");
    m_folder.makeLink("links/toFile", "../file.jpg");
    m_folder.makeLink("links/dangling", "../missing");
    m_folder.makeLink("links/.hiddenLink", "../target");
    const std::vector<FindEntry> expected = {
        {".", 16}, {"..", 16}, {".hiddenLink", 18}, {"toFile", 33}, {"toFolder", 16}};
    EXPECT_EQ(m_fs.findFiles(m_folder.windowsPath("links") + "\\*.*"), expected);
    // A link to a folder can be searched as the folder.
    EXPECT_EQ(m_fs.findFiles(m_folder.windowsPath("links/toFolder") + "\\*.*"),
              (std::vector<FindEntry>{{".", 16}, {"..", 16}}));
}

TEST_F(PosixFileSystemTest, SearchShowsOnlyNamesAWindowsFolderCanHold) {
    m_folder.makeFolder("orig");
    for (const char* name : {"IMG1.JPG", "..\\orig\\IMG1.JPG", "..\\..\\x.JPG", "x.", "x ",
                             "*stella.JPG", "?.jpg", "g-colon 12:30.jpg", "nl\n.jpg", "\x01.jpg"}) {
        m_folder.makeFile(std::string("orig/") + name, name);
    }
    const std::vector<FindEntry> expected = {{".", 16}, {"..", 16}, {"IMG1.JPG", 32}};
    EXPECT_EQ(m_fs.findFiles(m_folder.windowsPath("orig") + "\\*.*"), expected);
    // The stand-in drops trailing dots and blanks of every name typed (Windows drops them from
    // the last name only, and one dot from the others).
    m_folder.makeFolder("Foto");
    m_folder.makeFile("Foto/in.jpg");
    for (const char* typed : {"Foto \\*.*", "Foto. .\\*.*"}) {
        EXPECT_EQ(m_fs.findFiles(m_folder.windowsPath(typed)).size(), 3u) << typed;
    }
}

TEST_F(PosixFileSystemTest, ReportsWindowsAttributeValues) {
    m_folder.makeFolder("rofolder", 0555);
    m_folder.makeFolder(".folder");
    m_folder.makeFile(".file");
    m_folder.makeFile("ownerOnly.jpg", "", 0200);
    m_folder.makeFile("noBits.jpg", "", 0);
    m_folder.makeFile(".ro", "", 0400);
    const std::vector<std::pair<std::string, std::uint32_t>> cases = {
        {"rofolder", 17},      {".folder", 18},    {".file", 34},
        {"ownerOnly.jpg", 32}, {"noBits.jpg", 33}, {".ro", 35},
    };
    for (const auto& [name, value] : cases) {
        EXPECT_EQ(m_fs.attributes(m_folder.windowsPath(name)), value) << name;
    }
    EXPECT_EQ(m_fs.attributes("C:\\"), 16u);
}

TEST_F(PosixFileSystemTest, LinksAreJudgedByWhatTheyPointTo) {
    m_folder.makeFolder("folder");
    m_folder.makeFile("ro.jpg", "", 0444);
    m_folder.makeLink("toFolder", "folder");
    m_folder.makeLink("toFile", "ro.jpg");
    m_folder.makeLink("dangling", "missing");
    struct Case {
        std::string name;
        std::uint32_t attributes;
        bool file;
        bool folder;
    };
    const std::vector<Case> cases = {
        {"toFile", 33, true, false},
        {"toFolder", 16, false, true},
        {"dangling", kInvalidAttributes, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_fs.attributes(m_folder.windowsPath(c.name)), c.attributes) << c.name;
        EXPECT_EQ(m_fs.fileExists(m_folder.windowsPath(c.name)), c.file) << c.name;
        EXPECT_EQ(m_fs.directoryExists(m_folder.windowsPath(c.name)), c.folder) << c.name;
    }
    EXPECT_TRUE(m_fs.sameFile(m_folder.windowsPath("ro.jpg"), m_folder.windowsPath("toFile")));
}

TEST_F(PosixFileSystemTest, FindsFoldersByTheWindows1252ReadingOfTheirBytes) {
    // A folder copied from a Windows disk keeps its Windows-1252 bytes; settings written on
    // Windows hold the same bytes and are shown as UTF-8.
    m_folder.makeFolder("Mare \xE8 sole");
    m_folder.makeFile("Mare \xE8 sole/a.jpg");
    m_folder.makeFolder("Cielo \xC3\xA8");
    m_folder.makeFile("Cielo \xC3\xA8/b.jpg");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Mare è sole", "a.jpg"}, {"MARE È SOLE", "a.jpg"},    {"Cielo è", "b.jpg"},
        {"cielo È", "b.jpg"},     {"Mare \xE8 sole", "a.jpg"},
    };
    for (const auto& [folder, photo] : cases) {
        EXPECT_TRUE(m_fs.directoryExists(m_folder.windowsPath(folder))) << folder;
        EXPECT_TRUE(m_fs.fileExists(m_folder.windowsPath(folder + "/" + photo))) << folder;
    }
    EXPECT_FALSE(m_fs.directoryExists(m_folder.windowsPath("Cielo \xE8")));
}

TEST(PicturesFolderTest, ReadsTheFolderAsXdgUserDirDoes) {
    const std::string home = "/home/anna";
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"", std::nullopt},
        {"  XDG_PICTURES_DIR = \"/srv/foto/\"\r\n", "/srv/foto"},
        {"XDG_PICTURES_DIR=\"$HOME/Foto \\\"24\\\" \\$x\"", "/home/anna/Foto \"24\" $x"},
        // Forms the file may not hold name nothing, and leave an earlier line standing.
        {"XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"Immagini\"\n", "/a"},
        {"# XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIRS=\"/b\"\nXDG_PICTURES_DIR=$HOME/c\n",
         std::nullopt},
        {"XDG_PICTURES_DIR=\"$HOMEFOTO\"\nXDG_PICTURES_DIR=\"/senza fine\n", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(picturesFolderFromUserDirs(text, home), expected) << text;
    }
}

// Sets an environment variable (unsets it for nullptr) until the end of the test.
struct ScopedEnvironment {
    ScopedEnvironment(const char* name, const char* value) : name(name) {
        if (const char* was = std::getenv(name))
            old = was;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() { old ? ::setenv(name, old->c_str(), 1) : ::unsetenv(name); }
    const char* name;
    std::optional<std::string> old;
};

TEST_F(PosixFileSystemTest, StartsPhotoListsAtTheUserPicturesFolder) {
    struct Case {
        const char* configHome; // XDG_CONFIG_HOME below the scratch folder, or none
        const char* userDirs;   // the file there (or in the home's .config)
        const char* expected;   // below the scratch folder
    };
    const Case cases[] = {
        {"conf", "XDG_PICTURES_DIR=\"$HOME/Immagini\"\n", "casa/Immagini"},
        {nullptr, "XDG_PICTURES_DIR=\"$HOME/Immagini\"\n", "casa/Immagini"},
        {"conf", "XDG_PICTURES_DIR=\"$HOME/Foto \xE8\"\n", "casa/Foto è"},
        {"conf", "XDG_PICTURES_DIR=\"$HOME/Manca\"\n", "casa"},
    };
    for (const Case& c : cases) {
        TempFolder scratch;
        scratch.makeFolder("casa");
        scratch.makeFolder("casa/Immagini");
        scratch.makeFolder("casa/Foto \xE8");
        const std::string config = c.configHome ? c.configHome : "casa/.config";
        scratch.makeFolder(config);
        scratch.makeFile(config + "/user-dirs.dirs", c.userDirs);
        ScopedEnvironment home("HOME", scratch.hostPath("casa").c_str());
        const std::string configHome = c.configHome ? scratch.hostPath(c.configHome) : "";
        ScopedEnvironment xdg("XDG_CONFIG_HOME", c.configHome ? configHome.c_str() : nullptr);

        PosixFileSystem fs;
        const std::string expected = scratch.windowsPath(c.expected) + "\\";
        EXPECT_EQ(fs.defaultPhotoFolder(), expected) << c.userDirs;
        EXPECT_TRUE(fs.directoryExists(expected)) << c.userDirs;
        // Chosen once: a later change of the file moves nothing.
        scratch.makeFile(config + "/user-dirs.dirs", "XDG_PICTURES_DIR=\"/\"\n");
        EXPECT_EQ(fs.defaultPhotoFolder(), expected) << c.userDirs;
    }
}

} // namespace
} // namespace tess::platform
