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
    // Read-only holds for root too: the layer checks the mode bits itself.
    const std::pair<const char*, bool> cases[] = {
        {"toFile", true}, {"toReadOnly", false}, {"toFolder", false}, {"dangling", true}};
    for (const auto& [name, deleted] : cases) {
        EXPECT_EQ(m_fs.deleteFile(path(name)), deleted) << name;
        EXPECT_EQ(m_folder.exists(name), !deleted) << name;
    }
    // Deleting a link never touches what it points to.
    EXPECT_EQ(m_folder.contents("target.jpg"), "target");
    EXPECT_EQ(m_folder.contents("roTarget.jpg"), "target");
}

TEST_F(FileOperationsTest, RefusesNamesTakenByTwinsAndLinks) {
    // A name only in another letter case is not free while a twin holds it.
    m_folder.makeFile("a.jpg", "a");
    m_folder.makeFile("A.JPG", "A");
    m_folder.makeLink("dangling", "missing");
    for (const char* name : {"A.jpg", "dangling", "DANGLING"}) {
        EXPECT_FALSE(m_fs.moveFile(path("a.jpg"), path(name))) << name;
    }
    EXPECT_EQ(m_folder.names(), names({"A.JPG", "a.jpg", "dangling"}));
}

TEST_F(FileOperationsTest, WritesNewFilesWithTheUsualPermissions) {
    for (const mode_t mask : {mode_t(022), mode_t(027), mode_t(0)}) {
        TempFolder folder;
        ScopedUmask umask(mask);
        const std::string data("\x00\x01 photo", 8);
        m_fs.writeFile(folder.windowsPath("new.jpg"), data.data(), data.size());
        EXPECT_EQ(folder.mode("new.jpg"), 0666u & ~mask);
    }
}

TEST_F(FileOperationsTest, ReplacesFilesKeepingTheirPermissionsAndLinks) {
    m_folder.makeFile("Photo.JPG", "old", 0640);
    m_folder.makeFile("private.jpg", "old", 0600);
    m_folder.makeFile("target.jpg", "old");
    m_folder.makeFile("roTarget.jpg", "old", 0444);
    m_folder.makeLink("link.jpg", "target.jpg");
    m_folder.makeLink("toReadOnly", "roTarget.jpg");
    write("photo.jpg", "new contents");
    write("private.jpg", "new");
    write("link.jpg", "through the link");
    EXPECT_THROW(write("toReadOnly", "new"), Error);
    EXPECT_EQ(m_folder.mode("Photo.JPG"), 0640u);
    EXPECT_EQ(m_folder.mode("private.jpg"), 0600u);
    EXPECT_TRUE(m_folder.isLink("link.jpg"));
    EXPECT_EQ(read("link.jpg"), "through the link");
    EXPECT_EQ(m_folder.contents("target.jpg"), "through the link");
    EXPECT_EQ(m_folder.contents("roTarget.jpg"), "old");
    EXPECT_EQ(m_folder.names(), names({"Photo.JPG", "link.jpg", "private.jpg", "roTarget.jpg",
                                       "target.jpg", "toReadOnly"}));
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
}

TEST_F(FileOperationsTest, FilesAndFoldersTheUserMayNotReadOrWriteFail) {
    // Root reads any file and folder and creates files in any folder, so only others see this.
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root ignores folder permissions";
    }
    m_folder.makeFile("secret.jpg", "x", 0);
    EXPECT_THROW(read("secret.jpg"), Error);
    m_folder.makeFolder("unreadable");
    m_folder.makeFile("unreadable/inside.jpg");
    m_folder.setMode("unreadable", 0);
    EXPECT_TRUE(m_fs.findFiles(path("unreadable") + "\\*.*").empty());
    // A folder without room for the temporary file.
    m_folder.makeFolder("locked");
    m_folder.makeFile("locked/photo.jpg", "old");
    m_folder.setMode("locked", 0555);
    EXPECT_THROW(write("locked/photo.jpg", "new"), Error);
    EXPECT_EQ(m_folder.contents("locked/photo.jpg"), "old");
    EXPECT_EQ(m_folder.names("locked"), names({"photo.jpg"}));
}

TEST_F(FileOperationsTest, PipesAndDevicesAreNeverOpened) {
    // A pipe opened would block; the test's time limit ends it.
    ASSERT_EQ(::mkfifo(m_folder.hostPath("A.JPG").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(m_folder.hostPath("Tessaluma.ini").c_str(), 0644), 0);
    m_folder.makeLink("zero.jpg", "/dev/zero");
    for (const char* name : {"A.JPG", "a.jpg", "zero.jpg"}) {
        EXPECT_THROW(read(name), Error) << name;
    }
    EXPECT_EQ(m_fs.getProfileStrings("Tessaluma", {"Key"}, path("Tessaluma.ini")).front(),
              std::nullopt);
    EXPECT_FALSE(m_fs.writeProfileStrings("Tessaluma", {{"Key", "v"}}, path("Tessaluma.ini")));
    // A pipe moved to another name stays a pipe.
    EXPECT_TRUE(m_fs.moveFile(path("A.JPG"), path("B.JPG")));
    EXPECT_THROW(m_fs.readFile(path("B.JPG")), Error);
}

using ProfileFileTest = FileOperationsTest;

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
