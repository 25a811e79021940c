#include "platform/PosixFileSystem.h"

#include "TempFolder.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

namespace tess::platform {
namespace {

using test::ScopedUmask;
using test::TempFolder;

std::vector<std::string> names(std::initializer_list<const char*> list) {
    return {list.begin(), list.end()};
}

// Caps the size of files this process may write, so a write fails half-way as on a full disk.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~ScopedFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

class FileOperationsTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return m_folder.windowsPath(name); }
    std::string read(const std::string& name) {
        const auto bytes = m_fs.readFile(path(name));
        return {bytes.begin(), bytes.end()};
    }
    void write(const std::string& name, const std::string& contents) {
        m_fs.writeFile(path(name), contents.data(), contents.size());
    }

    TempFolder m_folder;
    PosixFileSystem m_fs;
};

TEST_F(FileOperationsTest, DeletesFilesButNotReadOnlyFilesOrFolders) {
    m_folder.makeFile("plain.jpg");
    m_folder.makeFile("Mixed.JPG");
    m_folder.makeFile("ro.jpg", "keep", 0444);
    m_folder.makeFolder("folder");
    m_folder.makeFile("target.jpg", "target");
    m_folder.makeFile("roTarget.jpg", "target", 0444);
    m_folder.makeLink("toFile", "target.jpg");
    m_folder.makeLink("toReadOnly", "roTarget.jpg");
    m_folder.makeLink("toFolder", "folder");
    m_folder.makeLink("dangling", "missing");
    struct Case {
        std::string windowsName;
        std::string hostName;
        bool deleted;
    };
    // Read-only holds for root too: the layer checks the mode bits itself.
    const std::vector<Case> cases = {
        {"plain.jpg", "plain.jpg", true},
        {"mixed.jpg", "Mixed.JPG", true},
        {"ro.jpg", "ro.jpg", false},
        {"folder", "folder", false},
        {"toFile", "toFile", true},
        {"toReadOnly", "toReadOnly", false},
        {"toFolder", "toFolder", false},
        {"dangling", "dangling", true},
        {"missing.jpg", "missing.jpg", false},
    };
    for (const Case& c : cases) {
        const bool existed = m_folder.exists(c.hostName);
        EXPECT_EQ(m_fs.deleteFile(path(c.windowsName)), c.deleted) << c.windowsName;
        EXPECT_EQ(m_folder.exists(c.hostName), existed && !c.deleted) << c.windowsName;
    }
    // Deleting a link never touches what it points to.
    EXPECT_EQ(m_folder.contents("target.jpg"), "target");
    EXPECT_EQ(m_folder.contents("roTarget.jpg"), "target");
    EXPECT_EQ(m_folder.contents("ro.jpg"), "keep");
    std::string otherDrive = path("plain.jpg");
    otherDrive[0] = 'D';
    m_folder.makeFile("plain.jpg");
    EXPECT_FALSE(m_fs.deleteFile(otherDrive));
    EXPECT_TRUE(m_folder.exists("plain.jpg"));
}

TEST_F(FileOperationsTest, RenamesWithoutReplacing) {
    struct Case {
        std::string description;
        std::vector<std::string> files; // made before the move, each holding its own name
        std::vector<std::string> folders;
        std::string from;
        std::string to;
        bool moved;
        std::vector<std::string> after; // the folder's names afterwards
    };
    const std::vector<Case> cases = {
        {"plain rename", {"a.jpg"}, {}, "a.jpg", "b.jpg", true, {"b.jpg"}},
        {"source found in other case", {"a.jpg"}, {}, "A.JPG", "b.jpg", true, {"b.jpg"}},
        {"name taken", {"a.jpg", "b.jpg"}, {}, "a.jpg", "b.jpg", false, {"a.jpg", "b.jpg"}},
        {"name taken in other case",
         {"a.jpg", "b.jpg"},
         {},
         "a.jpg",
         "B.JPG",
         false,
         {"a.jpg", "b.jpg"}},
        {"name taken by a folder", {"a.jpg"}, {"Sub"}, "a.jpg", "sub", false, {"Sub", "a.jpg"}},
        {"case only", {"a.jpg"}, {}, "a.jpg", "A.JPG", true, {"A.JPG"}},
        {"case only via other spelling", {"a.jpg"}, {}, "A.jpg", "a.JPG", true, {"a.JPG"}},
        {"same name", {"a.jpg"}, {}, "a.jpg", "a.jpg", true, {"a.jpg"}},
        {"case only but another file has it",
         {"a.jpg", "A.JPG"},
         {},
         "a.jpg",
         "A.jpg",
         false,
         {"A.JPG", "a.jpg"}},
        {"missing source", {"b.jpg"}, {}, "a.jpg", "c.jpg", false, {"b.jpg"}},
        {"into a folder", {"a.jpg"}, {"Sub"}, "a.jpg", "SUB/a.jpg", true, {"Sub"}},
        {"into a missing folder", {"a.jpg"}, {}, "a.jpg", "none\\a.jpg", false, {"a.jpg"}},
        {"a folder", {}, {"Sub"}, "sub", "Other", true, {"Other"}},
        {"to the root itself", {"a.jpg"}, {}, "a.jpg", "C:\\", false, {"a.jpg"}},
        // Win32 drops trailing dots and blanks of every component.
        {"trailing dot dropped", {"x"}, {}, "x", "y.", true, {"y"}},
        {"trailing blanks dropped", {"a.jpg"}, {"Sub"}, "a.jpg", "Sub. \\b.jpg ", true, {"Sub"}},
        {"only dots", {"a.jpg"}, {}, "a.jpg", "...", false, {"a.jpg"}},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        for (const std::string& name : c.folders) {
            folder.makeFolder(name);
        }
        for (const std::string& name : c.files) {
            folder.makeFile(name, name);
        }
        const std::string to = c.to.rfind("C:", 0) == 0 ? c.to : folder.windowsPath(c.to);
        EXPECT_EQ(m_fs.moveFile(folder.windowsPath(c.from), to), c.moved) << c.description;
        EXPECT_EQ(folder.names(), c.after) << c.description;
    }
}

TEST_F(FileOperationsTest, MovesKeepContentsAndReadOnlyFilesMove) {
    m_folder.makeFolder("Sub");
    m_folder.makeFile("ro.jpg", "read-only", 0444);
    EXPECT_TRUE(m_fs.moveFile(path("ro.jpg"), path("sub/moved.jpg")));
    EXPECT_EQ(m_folder.contents("Sub/moved.jpg"), "read-only");
    EXPECT_EQ(m_folder.mode("Sub/moved.jpg"), 0444u);
    EXPECT_EQ(m_fs.attributes(path("sub\\moved.jpg")), 33u);
}

TEST_F(FileOperationsTest, RefusesNewNamesWindowsForbids) {
    m_folder.makeFile("a.jpg");
    m_folder.makeLink("dangling", "missing");
    for (const char* name : {"a*.jpg", "a?.jpg", "a\".jpg", "a<.jpg", "a>.jpg", "a|.jpg", "a:b.jpg",
                             "tab\t.jpg", "nl\n.jpg", "dangling", "DANGLING"}) {
        EXPECT_FALSE(m_fs.moveFile(path("a.jpg"), path(name))) << name;
    }
    EXPECT_EQ(m_folder.names(), names({"a.jpg", "dangling"}));
    std::string otherDrive = path("b.jpg");
    otherDrive[0] = 'e';
    EXPECT_FALSE(m_fs.moveFile(path("a.jpg"), otherDrive));
    EXPECT_EQ(m_folder.names(), names({"a.jpg", "dangling"}));
}

TEST_F(FileOperationsTest, ReadsWholeFiles) {
    const std::string binary("\xFF\xD8\x00\x01\r\n\x1A end", 11);
    m_folder.makeFile("photo.jpg", binary);
    m_folder.makeFile("empty.jpg");
    m_folder.makeLink("link.jpg", "photo.jpg");
    EXPECT_EQ(read("photo.jpg"), binary);
    EXPECT_EQ(read("PHOTO.JPG"), binary);
    EXPECT_EQ(read("link.jpg"), binary);
    EXPECT_EQ(read("empty.jpg"), "");
    std::string big(300000, 'x');
    big[123456] = 'y';
    m_folder.makeFile("big.jpg", big);
    EXPECT_EQ(read("big.jpg"), big);
    // A size limit is told before reading.
    EXPECT_EQ(m_fs.readFileUpTo(path("big.jpg"), big.size())->size(), big.size());
    EXPECT_FALSE(m_fs.readFileUpTo(path("big.jpg"), big.size() - 1));
    EXPECT_THROW(m_fs.readFileUpTo(path("missing.jpg"), 10), Error);
}

TEST_F(FileOperationsTest, ReadFailuresNameThePathAsGiven) {
    m_folder.makeFolder("folder");
    m_folder.makeFile("secret.jpg", "x", 0);
    std::string otherDrive = path("photo.jpg");
    otherDrive[0] = 'D';
    std::string slashed = path("missing.jpg");
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    std::vector<std::string> failing = {path("missing.jpg"), slashed, path("folder"), otherDrive,
                                        path("missing/x.jpg")};
    if (::geteuid() != 0) {
        failing.push_back(path("secret.jpg"));
    }
    for (const std::string& windowsPath : failing) {
        try {
            m_fs.readFile(windowsPath);
            ADD_FAILURE() << "no error for " << windowsPath;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open file " + windowsPath);
        }
    }
}

TEST_F(FileOperationsTest, WritesNewFilesWithTheUsualPermissions) {
    for (const mode_t mask : {mode_t(022), mode_t(027), mode_t(0)}) {
        TempFolder folder;
        ScopedUmask umask(mask);
        const std::string data("\x00\x01 photo", 8);
        m_fs.writeFile(folder.windowsPath("new.jpg"), data.data(), data.size());
        EXPECT_EQ(folder.contents("new.jpg"), data);
        EXPECT_EQ(folder.mode("new.jpg"), 0666u & ~mask);
        EXPECT_EQ(folder.names(), names({"new.jpg"}));
    }
    m_fs.writeFile(path("empty.jpg"), nullptr, 0);
    EXPECT_EQ(m_folder.contents("empty.jpg"), "");
}

TEST_F(FileOperationsTest, ReplacesFilesKeepingTheirPermissionsAndName) {
    m_folder.makeFile("Photo.JPG", "old", 0640);
    m_folder.makeFile("private.jpg", "old", 0600);
    m_folder.makeFile("target.jpg", "old");
    m_folder.makeLink("link.jpg", "target.jpg");
    write("photo.jpg", "new contents");
    write("private.jpg", "new");
    write("link.jpg", "through the link");
    EXPECT_EQ(m_folder.contents("Photo.JPG"), "new contents");
    EXPECT_EQ(m_folder.mode("Photo.JPG"), 0640u);
    EXPECT_EQ(m_folder.mode("private.jpg"), 0600u);
    EXPECT_TRUE(m_folder.isLink("link.jpg"));
    EXPECT_EQ(m_folder.contents("target.jpg"), "through the link");
    EXPECT_EQ(m_folder.names(), names({"Photo.JPG", "link.jpg", "private.jpg", "target.jpg"}));
}

TEST_F(FileOperationsTest, FailedWritesLeaveTheOldFileAndNoTemporary) {
    m_folder.makeFolder("folder");
    m_folder.makeFile("ro.jpg", "old", 0444);
    m_folder.makeFile("roTarget.jpg", "old", 0444);
    m_folder.makeLink("toReadOnly", "roTarget.jpg");
    const std::vector<std::string> failing = {"ro.jpg",       "RO.JPG",   "toReadOnly", "folder",
                                              "none/new.jpg", "bad?.jpg", "a:b"};
    const std::string data = "new";
    for (const std::string& name : failing) {
        try {
            write(name, data);
            ADD_FAILURE() << "no error for " << name;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot create file " + path(name));
        }
    }
    EXPECT_EQ(m_folder.contents("ro.jpg"), "old");
    EXPECT_EQ(m_folder.contents("roTarget.jpg"), "old");
    EXPECT_EQ(m_folder.mode("ro.jpg"), 0444u);
    EXPECT_EQ(m_folder.names(), names({"folder", "ro.jpg", "roTarget.jpg", "toReadOnly"}));
    EXPECT_TRUE(m_folder.names("folder").empty());
}

TEST_F(FileOperationsTest, WriteFailingHalfWayLeavesTheOldFileAndNoTemporary) {
    m_folder.makeFile("photo.jpg", "old contents");
    const std::string big(256 * 1024, 'n');
    {
        ScopedFileSizeLimit limit(4096);
        EXPECT_THROW(write("photo.jpg", big), Error);
        EXPECT_THROW(write("new.jpg", big), Error);
    }
    EXPECT_EQ(m_folder.contents("photo.jpg"), "old contents");
    EXPECT_EQ(m_folder.names(), names({"photo.jpg"}));
    // With room again the same write goes through.
    write("photo.jpg", big);
    EXPECT_EQ(m_folder.contents("photo.jpg"), big);
    EXPECT_EQ(m_folder.names(), names({"photo.jpg"}));
}

TEST_F(FileOperationsTest, WriteIntoAFolderWithoutRoomForTheTemporaryFails) {
    // Root may create files in a folder without write permission, so only others can see this.
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root ignores folder permissions";
    }
    m_folder.makeFolder("locked");
    m_folder.makeFile("locked/photo.jpg", "old");
    m_folder.setMode("locked", 0555);
    EXPECT_THROW(write("locked/photo.jpg", "new"), Error);
    EXPECT_EQ(m_folder.contents("locked/photo.jpg"), "old");
    EXPECT_EQ(m_folder.names("locked"), names({"photo.jpg"}));
}

// Ends the test process instead of letting a blocking call hang the suite.
class ScopedAlarm {
public:
    explicit ScopedAlarm(unsigned seconds) { ::alarm(seconds); }
    ~ScopedAlarm() { ::alarm(0); }
};

TEST_F(FileOperationsTest, PipesAndDevicesAreNeverOpened) {
    ScopedAlarm alarm(30);
    ASSERT_EQ(::mkfifo(m_folder.hostPath("A.JPG").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(m_folder.hostPath("Tessaluma.ini").c_str(), 0644), 0);
    m_folder.makeLink("zero.jpg", "/dev/zero");
    for (const char* name : {"A.JPG", "a.jpg", "zero.jpg"}) {
        try {
            m_fs.readFile(path(name));
            ADD_FAILURE() << "no error for " << name;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open file " + path(name));
        }
    }
    EXPECT_EQ(m_fs.getProfileString("Tessaluma", "Key", "def", path("Tessaluma.ini")), "def");
    EXPECT_FALSE(m_fs.writeProfileString("Tessaluma", "Key", "v", path("Tessaluma.ini")));
    // A pipe moved to another name stays a pipe.
    EXPECT_TRUE(m_fs.moveFile(path("A.JPG"), path("B.JPG")));
    EXPECT_THROW(m_fs.readFile(path("B.JPG")), Error);
}

class ProfileFileTest : public FileOperationsTest {};

TEST_F(ProfileFileTest, MissingFilesSectionsAndKeysGiveTheDefault) {
    m_folder.makeFile("tess.ini", "[Main]\r\nQuality=80\r\n");
    m_folder.makeFolder("folder.ini");
    std::string otherDrive = path("tess.ini");
    otherDrive[0] = 'D';
    const std::vector<std::vector<std::string>> cases = {
        {path("tess.ini"), "Main", "Quality", "80"},
        {path("TESS.INI"), "main", "quality", "80"},
        {path("tess.ini"), "Main", "Width", "def"},
        {path("tess.ini"), "Other", "Quality", "def"},
        {path("missing.ini"), "Main", "Quality", "def"},
        {path("missing/tess.ini"), "Main", "Quality", "def"},
        {path("folder.ini"), "Main", "Quality", "def"},
        {otherDrive, "Main", "Quality", "def"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m_fs.getProfileString(c[1], c[2], "def", c[0]), c[3]) << c[0];
    }
    const std::string longDefault(3000, 'd');
    EXPECT_EQ(m_fs.getProfileString("Main", "Width", longDefault, path("tess.ini")),
              longDefault.substr(0, 2047));
}

TEST_F(ProfileFileTest, WritesANewFile) {
    ScopedUmask umask(022);
    EXPECT_TRUE(m_fs.writeProfileString("Main", "Quality", "85", path("tess.ini")));
    EXPECT_TRUE(m_fs.writeProfileString("Main", "Width", "1024", path("TESS.INI")));
    EXPECT_TRUE(m_fs.writeProfileString("Folders", "Last", "C:\\Foto", path("tess.ini")));
    EXPECT_EQ(m_folder.contents("tess.ini"),
              "[Main]\r\nQuality=85\r\nWidth=1024\r\n[Folders]\r\nLast=C:\\Foto\r\n");
    EXPECT_EQ(m_folder.mode("tess.ini"), 0644u);
    EXPECT_EQ(m_folder.names(), names({"tess.ini"}));
    EXPECT_EQ(m_fs.getProfileString("folders", "LAST", "", path("tess.ini")), "C:\\Foto");
}

TEST_F(ProfileFileTest, UpdatesOnlyTheKeyWritten) {
    const std::string before = "; settings\n[Other]\r\n  x = 1 \r\n\n[Main]\r\nQuality=80\r\n"
                               "; note\r\n\r\n[Tail]\nz=9";
    m_folder.makeFile("tess.ini", before, 0600);
    EXPECT_TRUE(m_fs.writeProfileString("MAIN", "quality", "90", path("tess.ini")));
    EXPECT_TRUE(m_fs.writeProfileString("Main", "Width", " 1024 ", path("tess.ini")));
    EXPECT_EQ(m_folder.contents("tess.ini"), "; settings\n[Other]\r\n  x = 1 \r\n\n[Main]\r\n"
                                             "Quality=90\r\nWidth=\" 1024 \"\n; note\r\n\r\n"
                                             "[Tail]\nz=9");
    EXPECT_EQ(m_fs.getProfileString("Main", "Width", "", path("tess.ini")), " 1024 ");
    EXPECT_EQ(m_folder.mode("tess.ini"), 0600u);
}

TEST_F(ProfileFileTest, RefusedWritesLeaveTheFileUntouched) {
    const std::string before = "[Main]\r\nQuality=80\r\n";
    m_folder.makeFile("tess.ini", before);
    m_folder.makeFile("ro.ini", before, 0444);
    m_folder.makeFolder("folder.ini");
    struct Case {
        std::string file;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"tess.ini", "two\r\nlines"},
        {"tess.ini", "cr\r"},
        {"tess.ini", "\n"},
        {"ro.ini", "90"},
        {"RO.INI", "90"},
        {"none/tess.ini", "90"},
        {"folder.ini", "90"},
        {"bad|name.ini", "90"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(m_fs.writeProfileString("Main", "Quality", c.value, path(c.file))) << c.file;
    }
    EXPECT_EQ(m_folder.contents("tess.ini"), before);
    EXPECT_EQ(m_folder.contents("ro.ini"), before);
    EXPECT_EQ(m_folder.names(), names({"folder.ini", "ro.ini", "tess.ini"}));
    {
        ScopedFileSizeLimit limit(before.size() + 4);
        EXPECT_FALSE(
            m_fs.writeProfileString("Main", "Long", std::string(100, 'v'), path("tess.ini")));
    }
    EXPECT_EQ(m_folder.contents("tess.ini"), before);
    EXPECT_EQ(m_folder.names(), names({"folder.ini", "ro.ini", "tess.ini"}));
}

TEST_F(ProfileFileTest, ValuesReadBackUnchanged) {
    const std::vector<std::string> values = {
        "plain", " both ",           "\"quoted\"",           "'single'",
        "",      "C:\\Foto Album\\", std::string(2047, 'v'), "Ünïcödé",
        "a=b;c",
    };
    for (const std::string& value : values) {
        ASSERT_TRUE(m_fs.writeProfileString("Main", "Key", value, path("tess.ini")));
        EXPECT_EQ(m_fs.getProfileString("Main", "Key", "default", path("tess.ini")), value);
    }
    ASSERT_TRUE(m_fs.writeProfileString("Main", "Key", std::string(3000, 'v'), path("tess.ini")));
    EXPECT_EQ(m_fs.getProfileString("Main", "Key", "", path("tess.ini")), std::string(2047, 'v'));
    EXPECT_EQ(m_folder.names(), names({"tess.ini"}));
}

// Runs an action as a user who owns nothing here: in a child process as "nobody" when the tests
// run as root, whom folder permissions do not stop. True when the action gave true.
bool asOrdinaryUser(const std::function<bool()>& action) {
    if (::geteuid() != 0) {
        return action();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const bool done = ::setgid(65534) == 0 && ::setuid(65534) == 0 && action();
        ::_exit(done ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

TEST_F(ProfileFileTest, WritesInPlaceWhereTheFolderRefusesTheReplace) {
    struct Case {
        const char* name;
        mode_t folderMode;
        mode_t fileMode;
        bool written;
    };
    const Case cases[] = {
        {"folder the user cannot write", 0555, 0666, true},
        {"another user's file in a sticky folder", 01777, 0666, true},
        {"read-only file", 0555, 0444, false},
    };
    m_folder.setMode("", 0755);
    const std::string before = "[Main]\r\nQuality=80\r\nWidth=1024\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_folder.makeFolder(c.name, 0755);
        const std::string file = std::string(c.name) + "/tess.ini";
        m_folder.makeFile(file, before, c.fileMode);
        m_folder.setMode(c.name, c.folderMode);
        EXPECT_EQ(asOrdinaryUser([&] {
                      return m_fs.writeProfileStrings("Main", {{"Quality", "9"}}, path(file));
                  }),
                  c.written);
        EXPECT_EQ(m_folder.contents(file),
                  c.written ? "[Main]\r\nQuality=9\r\nWidth=1024\r\n" : before);
        EXPECT_EQ(m_folder.names(c.name), names({"tess.ini"}));
    }
}

TEST_F(ProfileFileTest, KeepsTheEncodingAndTheUntouchedBytesOfTheFile) {
    const std::vector<std::string> files = {
        "[Main]\r\nPath=C:\\Mare \xE8 sole\\\r\nQuality=80\r\n",
        std::string("\xFF\xFE[\0M\0a\0i\0n\0]\0\n\0P\0a\0t\0h\0=\0\xE8\0\n\0", 30),
        std::string("\xFE\xFF\0[\0M\0a\0i\0n\0]\0\n\0P\0a\0t\0h\0=\0\xE8\0\n", 30),
    };
    for (const std::string& before : files) {
        m_folder.makeFile("tess.ini", before);
        const auto values = m_fs.getProfileStrings("Main", {"Path", "Quality"}, path("tess.ini"));
        ASSERT_TRUE(values[0]);
        EXPECT_NE(values[0]->find("è"), std::string::npos);
        ASSERT_TRUE(m_fs.writeProfileStrings("Main", {{"Path", *values[0]}}, path("tess.ini")));
        EXPECT_EQ(m_folder.contents("tess.ini"), before);
        ASSERT_TRUE(m_fs.writeProfileStrings("Main", {{"Quality", "1"}}, path("tess.ini")));
        EXPECT_EQ(m_fs.getProfileStrings("Main", {"Path", "Quality"}, path("tess.ini")),
                  (std::vector<std::optional<std::string>>{values[0], "1"}));
        EXPECT_EQ(m_folder.contents("tess.ini").substr(0, 2), before.substr(0, 2));
    }
}

} // namespace
} // namespace tess::platform
