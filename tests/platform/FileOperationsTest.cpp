// What only the stand-in layer on POSIX systems shows: links, other drives, permission bits,
// umask, file size limits, other users, named pipes.
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
#include <optional>
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

TEST_F(FileOperationsTest, DeletesLinksButNeverWhatTheyPointTo) {
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
        {"toFile", "toFile", true},
        {"toReadOnly", "toReadOnly", false},
        {"toFolder", "toFolder", false},
        {"dangling", "dangling", true},
    };
    for (const Case& c : cases) {
        const bool existed = m_folder.exists(c.hostName);
        EXPECT_EQ(m_fs.deleteFile(path(c.windowsName)), c.deleted) << c.windowsName;
        EXPECT_EQ(m_folder.exists(c.hostName), existed && !c.deleted) << c.windowsName;
    }
    // Deleting a link never touches what it points to.
    EXPECT_EQ(m_folder.contents("target.jpg"), "target");
    EXPECT_EQ(m_folder.contents("roTarget.jpg"), "target");
    std::string otherDrive = path("plain.jpg");
    otherDrive[0] = 'D';
    m_folder.makeFile("plain.jpg");
    EXPECT_FALSE(m_fs.deleteFile(otherDrive));
    EXPECT_TRUE(m_folder.exists("plain.jpg"));
}

TEST_F(FileOperationsTest, RenamesInCaseOnlyWhenNoTwinHoldsTheName) {
    m_folder.makeFile("a.jpg", "a");
    m_folder.makeFile("A.JPG", "A");
    EXPECT_FALSE(m_fs.moveFile(path("a.jpg"), path("A.jpg")));
    EXPECT_EQ(m_folder.names(), names({"A.JPG", "a.jpg"}));
}

TEST_F(FileOperationsTest, RefusesNamesTakenByLinksAndOtherDrives) {
    m_folder.makeFile("a.jpg");
    m_folder.makeLink("dangling", "missing");
    for (const char* name : {"dangling", "DANGLING"}) {
        EXPECT_FALSE(m_fs.moveFile(path("a.jpg"), path(name))) << name;
    }
    EXPECT_EQ(m_folder.names(), names({"a.jpg", "dangling"}));
    std::string otherDrive = path("b.jpg");
    otherDrive[0] = 'e';
    EXPECT_FALSE(m_fs.moveFile(path("a.jpg"), otherDrive));
    EXPECT_EQ(m_folder.names(), names({"a.jpg", "dangling"}));
}

TEST_F(FileOperationsTest, ReadsThroughLinks) {
    m_folder.makeFile("photo.jpg", "photo");
    m_folder.makeLink("link.jpg", "photo.jpg");
    EXPECT_EQ(read("link.jpg"), "photo");
}

TEST_F(FileOperationsTest, ReadFailuresOnOtherDrivesAndUnreadableFiles) {
    m_folder.makeFile("secret.jpg", "x", 0);
    std::string otherDrive = path("photo.jpg");
    otherDrive[0] = 'D';
    std::vector<std::string> failing = {otherDrive};
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
}

TEST_F(FileOperationsTest, ReplacesFilesKeepingTheirPermissionsAndLinks) {
    m_folder.makeFile("Photo.JPG", "old", 0640);
    m_folder.makeFile("private.jpg", "old", 0600);
    m_folder.makeFile("target.jpg", "old");
    m_folder.makeLink("link.jpg", "target.jpg");
    write("photo.jpg", "new contents");
    write("private.jpg", "new");
    write("link.jpg", "through the link");
    EXPECT_EQ(m_folder.mode("Photo.JPG"), 0640u);
    EXPECT_EQ(m_folder.mode("private.jpg"), 0600u);
    EXPECT_TRUE(m_folder.isLink("link.jpg"));
    EXPECT_EQ(m_folder.contents("target.jpg"), "through the link");
    EXPECT_EQ(m_folder.names(), names({"Photo.JPG", "link.jpg", "private.jpg", "target.jpg"}));
}

TEST_F(FileOperationsTest, WritesThroughLinksToReadOnlyFilesFail) {
    m_folder.makeFile("roTarget.jpg", "old", 0444);
    m_folder.makeLink("toReadOnly", "roTarget.jpg");
    EXPECT_THROW(write("toReadOnly", "new"), Error);
    EXPECT_EQ(m_folder.contents("roTarget.jpg"), "old");
    EXPECT_EQ(m_folder.mode("roTarget.jpg"), 0444u);
    EXPECT_EQ(m_folder.names(), names({"roTarget.jpg", "toReadOnly"}));
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
    EXPECT_EQ(m_fs.getProfileStrings("Tessaluma", {"Key"}, path("Tessaluma.ini")).front(),
              std::nullopt);
    EXPECT_FALSE(m_fs.writeProfileStrings("Tessaluma", {{"Key", "v"}}, path("Tessaluma.ini")));
    // A pipe moved to another name stays a pipe.
    EXPECT_TRUE(m_fs.moveFile(path("A.JPG"), path("B.JPG")));
    EXPECT_THROW(m_fs.readFile(path("B.JPG")), Error);
}

class ProfileFileTest : public FileOperationsTest {};

TEST_F(ProfileFileTest, OtherDrivesHoldNoSettings) {
    m_folder.makeFile("tess.ini", "[Main]\r\nQuality=80\r\n");
    std::string otherDrive = path("tess.ini");
    otherDrive[0] = 'D';
    EXPECT_EQ(m_fs.getProfileStrings("Main", {"Quality"}, otherDrive).front(), std::nullopt);
    EXPECT_FALSE(m_fs.writeProfileStrings("Main", {{"Quality", "1"}}, otherDrive));
}

TEST_F(ProfileFileTest, AWriteFailingHalfWayLeavesTheFileUntouched) {
    const std::string before = "[Main]\r\nQuality=80\r\n";
    m_folder.makeFile("tess.ini", before);
    {
        ScopedFileSizeLimit limit(before.size() + 4);
        EXPECT_FALSE(
            m_fs.writeProfileStrings("Main", {{"Long", std::string(100, 'v')}}, path("tess.ini")));
    }
    EXPECT_EQ(m_folder.contents("tess.ini"), before);
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
        std::string value;
        rlim_t room; // the largest file the user may write; 0 for no limit
        bool written;
    };
    const std::string before = "[Main]\r\nQuality=80\r\nWidth=1024\r\n[Altro]\r\nx=1\r\n";
    const Case cases[] = {
        {"folder the user cannot write", 0555, 0666, "9", 0, true},
        {"another user's file in a sticky folder", 01777, 0666, "9", 0, true},
        {"read-only file", 0555, 0444, "9", 0, false},
        {"a full disk", 0555, 0666, std::string(100, 'v'), before.size() + 10, false},
    };
    m_folder.setMode("", 0755);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_folder.makeFolder(c.name, 0755);
        const std::string file = std::string(c.name) + "/tess.ini";
        m_folder.makeFile(file, before, c.fileMode);
        m_folder.setMode(c.name, c.folderMode);
        EXPECT_EQ(asOrdinaryUser([&] {
                      std::optional<ScopedFileSizeLimit> limit;
                      if (c.room > 0) {
                          limit.emplace(c.room);
                      }
                      return m_fs.writeProfileStrings("Main", {{"Quality", c.value}}, path(file));
                  }),
                  c.written);
        EXPECT_EQ(m_fs.getProfileStrings("Main", {"Quality", "Width"}, path(file)),
                  (std::vector<std::optional<std::string>>{c.written ? c.value : "80", "1024"}));
        if (!c.written) {
            EXPECT_EQ(m_folder.contents(file), before);
        }
        EXPECT_EQ(m_folder.contents(file).substr(before.find("[Altro]")), "[Altro]\r\nx=1\r\n");
        EXPECT_EQ(m_folder.names(c.name), names({"tess.ini"}));
    }
}

} // namespace
} // namespace tess::platform
