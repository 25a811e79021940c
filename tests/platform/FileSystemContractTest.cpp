// What every file layer does alike: the stand-in on Linux and the Win32 layer on Windows (or
// under Wine) run these same cases.
#include "platform/SystemFileSystem.h"

#include "ErrorText.h"
#include "TempFolder.h"
#include "platform/Error.h"
#include "platform/NativeFiles.h"
#include "platform/ProfileText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace tess::platform {
namespace {

using tess::test::errorOf;
using test::runningUnderWine;
using test::ScopedCurrentDirectory;
using test::TempFolder;

std::vector<std::string> names(std::initializer_list<const char*> list) {
    return {list.begin(), list.end()};
}

class FileSystemContractTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return m_folder.windowsPath(name); }
    std::string read(const std::string& name) {
        const auto bytes = m_fs.readFile(path(name));
        return {bytes.begin(), bytes.end()};
    }
    void write(const std::string& name, const std::string& contents) {
        m_fs.writeFile(path(name), contents.data(), contents.size());
    }
    std::optional<std::string> profileValue(const std::string& section, const std::string& key,
                                            const std::string& file) {
        return m_fs.getProfileStrings(section, {key}, file).front();
    }
    bool writeProfileValue(const std::string& section, const std::string& key,
                           const std::string& value, const std::string& file) {
        return m_fs.writeProfileStrings(section, {{key, value}}, file);
    }

    TempFolder m_folder;
    SystemFileSystem m_fs;
};

TEST_F(FileSystemContractTest, ReportsAndChangesTheCurrentDirectory) {
    m_folder.makeFolder("Foto");
    m_folder.makeFile("file.jpg");
    ScopedCurrentDirectory restore(m_folder.host());

    EXPECT_EQ(m_fs.currentDirectory(), m_folder.windows());
    EXPECT_TRUE(m_fs.setCurrentDirectory("Foto"));
    EXPECT_EQ(m_fs.currentDirectory(), m_folder.windowsPath("Foto"));
    EXPECT_TRUE(m_fs.setCurrentDirectory(".."));
    EXPECT_EQ(m_fs.currentDirectory(), m_folder.windows());
    EXPECT_FALSE(m_fs.setCurrentDirectory("file.jpg"));
    EXPECT_FALSE(m_fs.setCurrentDirectory("missing"));
    EXPECT_EQ(m_fs.currentDirectory(), m_folder.windows());
    EXPECT_TRUE(m_fs.setCurrentDirectory("c:/"));
    EXPECT_EQ(m_fs.currentDirectory(), "C:\\");
}

TEST_F(FileSystemContractTest, SearchListsDotsFirstThenEntriesInNtfsOrder) {
    m_folder.makeFolder("Search");
    for (const char* name : {"b", "A", "_x", "a1", "Z"}) {
        m_folder.makeFile(std::string("Search/") + name);
    }
    m_folder.makeFile("Search/ro", "", 0444);
    m_folder.makeFolder("Search/sub");
    const std::vector<FindEntry> expected = {
        {".", 16},  {"..", 16},  {"A", 32}, {"a1", 32}, {"b", 32},
        {"ro", 33}, {"sub", 16}, {"Z", 32}, {"_x", 32},
    };
    const std::string w = m_folder.windows();
    std::string slashed = w;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    for (const std::string& pattern :
         {w + "\\Search\\*.*", w + "\\search\\*.*", slashed + "/SEARCH/*.*",
          w + "\\\\Search\\\\*.*", w + "\\Search\\*", w + "\\Search\\sub\\..\\*.*",
          // A folder typed with a trailing dot is the folder without it.
          w + "\\Search.\\*.*", w + "\\Search\\.\\*.*"}) {
        EXPECT_EQ(m_fs.findFiles(pattern), expected) << pattern;
    }

    ScopedCurrentDirectory inFolder(m_folder.hostPath("Search"));
    EXPECT_EQ(m_fs.findFiles("*.*"), expected);
    EXPECT_EQ(m_fs.findFiles(w.substr(0, 2) + "*.*"), expected);
}

TEST_F(FileSystemContractTest, SearchAtTheRootHasNoDots) {
    // The temporary folder's first component is one of the root's entries.
    const std::string w = m_folder.windows();
    const std::string top = w.substr(3, w.find('\\', 3) - 3);
    const std::string drive = w.substr(0, 2);
    ScopedCurrentDirectory inFolder(m_folder.host());
    for (const std::string& pattern : {drive + "\\*.*", drive + "/*.*", std::string("\\*.*"),
                                       std::string("/*.*"), std::string("\\..\\*.*")}) {
        const auto entries = m_fs.findFiles(pattern);
        ASSERT_FALSE(entries.empty()) << pattern;
        for (const FindEntry& entry : entries) {
            EXPECT_NE(entry.name, ".") << pattern;
            EXPECT_NE(entry.name, "..") << pattern;
        }
        EXPECT_NE(std::find_if(entries.begin(), entries.end(),
                               [&](const FindEntry& e) { return e.name == top; }),
                  entries.end())
            << pattern;
    }
}

TEST_F(FileSystemContractTest, SearchWithOtherPatternsAndInMissingFolders) {
    m_folder.makeFolder("p");
    for (const char* name :
         {"a.JPG", "b.jpg", "c.png", "photo", "photo.jpg", "photos", "photograph.jpeg"}) {
        m_folder.makeFile(std::string("p/") + name);
    }
    struct Case {
        std::string pattern; // in the folder
        std::vector<FindEntry> expected;
    };
    // Only the names themselves match, never a short 8.3 name Windows may keep beside them. The
    // patterns' own rules are matchesPattern's (WindowsPathTest).
    const std::vector<Case> cases = {
        {"p\\*.jpg", {{"a.JPG", 32}, {"b.jpg", 32}, {"photo.jpg", 32}}},
        {"p\\?.JPG", {{"a.JPG", 32}, {"b.jpg", 32}}},
        {"p\\PHOTO.JPG", {{"photo.jpg", 32}}},
        {"p\\photo.jpg.", {{"photo.jpg", 32}}},
        {"p\\missing.jpg", {}},
        {"missing\\*.*", {}},
        {"p\\photo\\*.*", {}},
        {"missing\\deeper\\*.*", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_fs.findFiles(m_folder.windows() + "\\" + c.pattern), c.expected)
            << c.pattern;
    }
    EXPECT_TRUE(m_fs.findFiles(m_folder.windows() + "\\").empty());
}

TEST_F(FileSystemContractTest, ReportsAttributesAndTellsFilesFromFolders) {
    m_folder.makeFolder("folder");
    m_folder.makeFile("file.jpg");
    m_folder.makeFile("ro.jpg", "", 0444);
    struct Case {
        std::string name;
        std::uint32_t attributes;
        bool file;
        bool folder;
    };
    const std::vector<Case> cases = {
        {"folder", 16, false, true},
        {"FOLDER", 16, false, true},
        {"file.jpg", 32, true, false},
        {"File.JPG", 32, true, false},
        {"ro.jpg", 33, true, false},
        {"missing", kInvalidAttributes, false, false},
        {"file.jpg/x", kInvalidAttributes, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_fs.attributes(m_folder.windowsPath(c.name)), c.attributes) << c.name;
        EXPECT_EQ(m_fs.fileExists(m_folder.windowsPath(c.name)), c.file) << c.name;
        EXPECT_EQ(m_fs.directoryExists(m_folder.windowsPath(c.name)), c.folder) << c.name;
    }
    EXPECT_EQ(m_fs.attributes(""), kInvalidAttributes);
}

TEST_F(FileSystemContractTest, TellsWhetherTwoPathsNameTheSameFile) {
    m_folder.makeFile("a.jpg", "same");
    m_folder.makeFile("b.jpg", "same");
    m_folder.makeHardLink("hard.jpg", "a.jpg");
    const std::string a = m_folder.windowsPath("a.jpg");
    struct Case {
        std::string other;
        bool same;
    };
    const std::vector<Case> cases = {
        {a, true},
        {m_folder.windowsPath("A.JPG"), true},
        {m_folder.windowsPath("hard.jpg"), true},
        {m_folder.windowsPath("b.jpg"), false},
        {m_folder.windowsPath("missing.jpg"), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_fs.sameFile(a, c.other), c.same) << c.other;
        EXPECT_EQ(m_fs.sameFile(c.other, a), c.same) << c.other;
    }
    EXPECT_FALSE(
        m_fs.sameFile(m_folder.windowsPath("missing.jpg"), m_folder.windowsPath("missing.jpg")));
}

TEST_F(FileSystemContractTest, DeletesFilesButNotReadOnlyFilesOrFolders) {
    m_folder.makeFile("plain.jpg");
    m_folder.makeFile("Mixed.JPG");
    m_folder.makeFile("ro.jpg", "keep", 0444);
    m_folder.makeFolder("folder");
    struct Case {
        std::string windowsName;
        std::string hostName;
        bool deleted;
    };
    // Read-only holds for root too: the layer checks the attribute itself.
    const std::vector<Case> cases = {
        {"plain.jpg", "plain.jpg", true},      {"mixed.jpg", "Mixed.JPG", true},
        {"ro.jpg", "ro.jpg", false},           {"folder", "folder", false},
        {"missing.jpg", "missing.jpg", false},
    };
    for (const Case& c : cases) {
        const bool existed = m_folder.exists(c.hostName);
        EXPECT_EQ(m_fs.deleteFile(path(c.windowsName)), c.deleted) << c.windowsName;
        EXPECT_EQ(m_folder.exists(c.hostName), existed && !c.deleted) << c.windowsName;
    }
    EXPECT_EQ(m_folder.contents("ro.jpg"), "keep");
}

struct MoveCase {
    std::string description;
    std::vector<std::string> files; // made before the move, each holding its own name
    std::vector<std::string> folders;
    std::string from;
    std::string to;
    bool moved;
    std::vector<std::string> after; // the folder's names afterwards
};

void checkMoves(FileSystem& fs, const std::vector<MoveCase>& cases) {
    for (const MoveCase& c : cases) {
        TempFolder folder;
        for (const std::string& name : c.folders) {
            folder.makeFolder(name);
        }
        for (const std::string& name : c.files) {
            folder.makeFile(name, name);
        }
        const std::string to = c.to.find(':') == 1 ? c.to : folder.windowsPath(c.to);
        EXPECT_EQ(fs.moveFile(folder.windowsPath(c.from), to), c.moved) << c.description;
        EXPECT_EQ(folder.names(), c.after) << c.description;
    }
}

TEST_F(FileSystemContractTest, RenamesWithoutReplacing) {
    const std::string root = m_folder.windows().substr(0, 3);
    const std::vector<MoveCase> cases = {
        {"plain rename", {"a.jpg"}, {}, "a.jpg", "b.jpg", true, {"b.jpg"}},
        {"source found in other case", {"a.jpg"}, {}, "A.JPG", "b.jpg", true, {"b.jpg"}},
        {"name taken", {"a.jpg", "b.jpg"}, {}, "a.jpg", "b.jpg", false, {"a.jpg", "b.jpg"}},
        {"taken as B.JPG", {"a.jpg", "b.jpg"}, {}, "a.jpg", "B.JPG", false, {"a.jpg", "b.jpg"}},
        {"name taken by a folder", {"a.jpg"}, {"Sub"}, "a.jpg", "sub", false, {"Sub", "a.jpg"}},
        {"same name", {"a.jpg"}, {}, "a.jpg", "a.jpg", true, {"a.jpg"}},
        {"missing source", {"b.jpg"}, {}, "a.jpg", "c.jpg", false, {"b.jpg"}},
        {"into a folder", {"a.jpg"}, {"Sub"}, "a.jpg", "SUB/a.jpg", true, {"Sub"}},
        {"into a missing folder", {"a.jpg"}, {}, "a.jpg", "none\\a.jpg", false, {"a.jpg"}},
        {"a folder", {}, {"Sub"}, "sub", "Other", true, {"Other"}},
        {"to the root itself", {"a.jpg"}, {}, "a.jpg", root, false, {"a.jpg"}},
        // Win32 drops trailing dots and blanks of the last name, and a dot of the others.
        {"trailing dot dropped", {"x"}, {}, "x", "y.", true, {"y"}},
        {"trailing blanks dropped", {"a.jpg"}, {"Sub"}, "a.jpg", "Sub.\\b.jpg. ", true, {"Sub"}},
        {"only dots", {"a.jpg"}, {}, "a.jpg", "...", false, {"a.jpg"}},
        // Names are the same as Windows folds them: "ᾀ" is "ᾈ", "ς" is not "Σ".
        {"ᾀ taken as ᾈ", {"a", "ᾈ"}, {}, "a", "ᾀ", false, {"a", "ᾈ"}},
        {"ς not taken as Σ", {"a", "Σ"}, {}, "a", "ς", true, {"Σ", "ς"}},
        {"ς opens no Σ", {"Σ"}, {}, "ς", "b", false, {"Σ"}},
    };
    checkMoves(m_fs, cases);
}

TEST_F(FileSystemContractTest, RenamesInLetterCaseOnly) {
    if (runningUnderWine()) {
        GTEST_SKIP() << "Wine: a move that changes only the letter case reports success and "
                        "renames nothing";
    }
    checkMoves(
        m_fs,
        {
            {"case only", {"a.jpg"}, {}, "a.jpg", "A.JPG", true, {"A.JPG"}},
            {"case only via other spelling", {"a.jpg"}, {}, "A.jpg", "a.JPG", true, {"a.JPG"}},
        });
}

TEST_F(FileSystemContractTest, MovesKeepContentsAndRefuseNamesWindowsForbids) {
    m_folder.makeFolder("Sub");
    m_folder.makeFile("ro.jpg", "read-only", 0444);
    EXPECT_TRUE(m_fs.moveFile(path("ro.jpg"), path("sub/moved.jpg")));
    EXPECT_EQ(m_folder.contents("Sub/moved.jpg"), "read-only");
    EXPECT_EQ(m_fs.attributes(path("sub\\moved.jpg")), 33u);
    // New names Windows forbids are refused.
    m_folder.makeFile("a.jpg");
    for (const char* name : {"a*.jpg", "a?.jpg", "a\".jpg", "a<.jpg", "a>.jpg", "a|.jpg", "a:b.jpg",
                             "tab\t.jpg", "nl\n.jpg"}) {
        EXPECT_FALSE(m_fs.moveFile(path("a.jpg"), path(name))) << name;
    }
    EXPECT_EQ(m_folder.names(), names({"Sub", "a.jpg"}));
}

TEST_F(FileSystemContractTest, ReadsWholeFilesAndNamesThePathOfAFailure) {
    const std::string binary("\xFF\xD8\x00\x01\r\n\x1A end", 11);
    m_folder.makeFile("photo.jpg", binary);
    m_folder.makeFile("empty.jpg");
    EXPECT_EQ(read("photo.jpg"), binary);
    EXPECT_EQ(read("PHOTO.JPG"), binary);
    EXPECT_EQ(read("empty.jpg"), "");
    std::string big(300000, 'x');
    big[123456] = 'y';
    m_folder.makeFile("big.jpg", big);
    EXPECT_EQ(read("big.jpg"), big);
    // A size limit is told before reading.
    EXPECT_EQ(m_fs.readFileUpTo(path("big.jpg"), big.size())->size(), big.size());
    EXPECT_FALSE(m_fs.readFileUpTo(path("big.jpg"), big.size() - 1));
    EXPECT_THROW(m_fs.readFileUpTo(path("missing.jpg"), 10), Error);
    // Failures name the path as given.
    m_folder.makeFolder("folder");
    std::string slashed = path("missing.jpg");
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    for (const std::string& windowsPath :
         {path("missing.jpg"), slashed, path("folder"), path("missing/x.jpg")}) {
        EXPECT_EQ(errorOf([&] { m_fs.readFile(windowsPath); }), "Cannot open file " + windowsPath);
    }
}

TEST_F(FileSystemContractTest, WritesFilesKeepingTheNameOfTheOldOne) {
    m_folder.makeFile("Photo.JPG", "old");
    const std::string data("\x00\x01 photo", 8);
    write("new.jpg", data);
    write("photo.jpg", "new contents");
    m_fs.writeFile(path("empty.jpg"), nullptr, 0);
    {
        ScopedCurrentDirectory inFolder(m_folder.host());
        m_fs.writeFile("relative.jpg", "r", 1);
    }
    EXPECT_EQ(m_folder.contents("new.jpg"), data);
    EXPECT_EQ(m_folder.contents("Photo.JPG"), "new contents");
    EXPECT_EQ(m_folder.contents("empty.jpg"), "");
    EXPECT_EQ(m_folder.contents("relative.jpg"), "r");
    EXPECT_EQ(m_folder.names(), names({"Photo.JPG", "empty.jpg", "new.jpg", "relative.jpg"}));
}

TEST_F(FileSystemContractTest, FailedWritesLeaveTheOldFileAndNoTemporary) {
    m_folder.makeFolder("folder");
    m_folder.makeFile("ro.jpg", "old", 0444);
    const std::vector<std::string> failing = {"ro.jpg",       "RO.JPG",   "folder",
                                              "none/new.jpg", "bad?.jpg", "a:b"};
    for (const std::string& name : failing) {
        EXPECT_EQ(errorOf([&] { write(name, "new"); }), "Cannot create file " + path(name));
    }
    EXPECT_EQ(m_folder.contents("ro.jpg"), "old");
    EXPECT_EQ(m_fs.attributes(path("ro.jpg")), 33u);
    EXPECT_EQ(m_folder.names(), names({"folder", "ro.jpg"}));
    EXPECT_TRUE(m_folder.names("folder").empty());
}

using ProfileFileContractTest = FileSystemContractTest;

TEST_F(ProfileFileContractTest, MissingFilesAndFoldersGiveNothing) {
    m_folder.makeFile("tess.ini", "[Main]\r\nQuality=80\r\n");
    m_folder.makeFolder("folder.ini");
    const std::vector<std::vector<std::string>> cases = {
        {path("tess.ini"), "Main", "Quality", "80"},
        {path("TESS.INI"), "main", "quality", "80"},
        {path("missing.ini"), "Main", "Quality", ""},
        {path("missing/tess.ini"), "Main", "Quality", ""},
        {path("folder.ini"), "Main", "Quality", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(profileValue(c[1], c[2], c[0]).value_or(""), c[3]) << c[0];
    }
}

TEST_F(ProfileFileContractTest, WritesANewFileAndUpdatesOnlyTheKeyWritten) {
    EXPECT_TRUE(writeProfileValue("Main", "Quality", "85", path("new.ini")));
    EXPECT_TRUE(writeProfileValue("main", "Name", "Ünïcödé", path("NEW.INI")));
    EXPECT_EQ(m_folder.contents("new.ini"), "[Main]\r\nQuality=85\r\nName=Ünïcödé\r\n");
    EXPECT_EQ(profileValue("MAIN", "name", path("new.ini")), "Ünïcödé");

    m_folder.makeFile("tess.ini", "; settings\n[Other]\r\n  x = 1 \r\n\n[Main]\r\nQuality=80\r\n"
                                  "; note\r\n\r\n[Tail]\nz=9");
    EXPECT_TRUE(writeProfileValue("MAIN", "quality", "90", path("tess.ini")));
    EXPECT_EQ(m_folder.contents("tess.ini"), "; settings\n[Other]\r\n  x = 1 \r\n\n[Main]\r\n"
                                             "Quality=90\r\n; note\r\n\r\n[Tail]\nz=9");
    EXPECT_EQ(m_folder.names(), names({"new.ini", "tess.ini"}));
}

TEST_F(ProfileFileContractTest, RefusedWritesLeaveTheFileUntouched) {
    const std::string before = "[Main]\r\nQuality=80\r\n";
    m_folder.makeFile("tess.ini", before);
    m_folder.makeFile("ro.ini", before, 0444);
    m_folder.makeFolder("folder.ini");
    struct Case {
        std::string file;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"tess.ini", "two\r\nlines"}, {"ro.ini", "90"},     {"RO.INI", "90"},
        {"none/tess.ini", "90"},      {"folder.ini", "90"}, {"bad|name.ini", "90"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(writeProfileValue("Main", "Quality", c.value, path(c.file))) << c.file;
    }
    EXPECT_EQ(m_folder.contents("tess.ini"), before);
    EXPECT_EQ(m_folder.contents("ro.ini"), before);
    EXPECT_EQ(m_folder.names(), names({"folder.ini", "ro.ini", "tess.ini"}));
}

TEST_F(ProfileFileContractTest, KeepsTheEncodingAndTheUntouchedBytesOfTheFile) {
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

// The file layer's own in-place writes, one call made to fail (half of a write reaching the
// file, as when the disk fills up), or every call from that one on: the program killed there.
class FaultyTarget final : public PatchTarget {
public:
    FaultyTarget(PatchTarget& file, int failAt, bool killed)
        : m_file(file), m_failAt(failAt), m_killed(killed) {}

    bool reserve(std::uint64_t size) override { return pass() && m_file.reserve(size); }
    bool write(std::uint64_t offset, std::string_view bytes) override {
        if (pass()) {
            return m_file.write(offset, bytes);
        }
        if (m_calls == m_failAt) {
            m_file.write(offset, bytes.substr(0, bytes.size() / 2));
        }
        return false;
    }
    bool sync() override { return pass() && m_file.sync(); }
    bool resize(std::uint64_t size) override { return pass() && m_file.resize(size); }

private:
    bool pass() {
        ++m_calls;
        return m_calls < m_failAt || (!m_killed && m_calls > m_failAt);
    }

    PatchTarget& m_file;
    int m_failAt;
    bool m_killed;
    int m_calls = 0;
};

TEST_F(ProfileFileContractTest, InPlaceWritesKeepTheOldFileWhateverFailsAndOtherSectionsWhenCut) {
    std::string other = "[AltroProgramma]\r\n";
    std::vector<std::string> otherKeys;
    for (int i = 0; i < 40; ++i) {
        otherKeys.push_back("Chiave" + std::to_string(i));
        other += otherKeys.back() + "=valore " + std::to_string(i) + "\r\n";
    }
    struct Case {
        const char* name;
        std::string before;
        std::vector<ProfileSetting> settings;
    };
    const std::vector<Case> cases = {
        {"grows before others", "[Tessaluma]\r\nA=1\r\n" + other, {{"A", "longer"}, {"B", "2"}}},
        {"shrinks before others", "[Tessaluma]\r\nA=long value\r\n" + other, {{"A", "1"}}},
        {"shrinks after others", other + "[Tessaluma]\r\nA=long value\r\nB=2\r\n", {{"A", "1"}}},
        {"a new section", other, {{"A", "1"}}},
    };
    const std::string ini = path("Tessaluma.ini");
    for (const Case& c : cases) {
        const std::size_t otherAt = c.before.find(other);
        std::vector<std::size_t> refused;
        const PatchPlan plan = planProfileRewrite(c.before, "Tessaluma", c.settings, refused);
        for (const bool killed : {false, true}) {
            bool written = false;
            for (int failAt = 1; !written; ++failAt) {
                SCOPED_TRACE(std::string(c.name) + (killed ? ", killed at call " : ", call ") +
                             std::to_string(failAt) + " failing");
                m_folder.makeFile("Tessaluma.ini", c.before);
                {
                    const auto file = openForRewrite(m_folder.hostPath("Tessaluma.ini"));
                    ASSERT_TRUE(file);
                    FaultyTarget faulty(*file, failAt, killed);
                    written = applyPatches(faulty, c.before, plan);
                }
                const std::string after = m_folder.contents("Tessaluma.ini");
                if (written) {
                    EXPECT_EQ(profileValue("Tessaluma", "A", ini), c.settings[0].value);
                } else if (!killed) {
                    EXPECT_EQ(after, c.before);
                }
                // Cut short only once the new text is whole.
                EXPECT_GE(after.size(), std::min(c.before.size(), plan.size));
                EXPECT_EQ(after.substr(otherAt, other.size()), other);
                EXPECT_EQ(m_fs.getProfileStrings("AltroProgramma", otherKeys, ini),
                          findProfileValues(other, "AltroProgramma", otherKeys));
                ASSERT_LT(failAt, 20);
            }
        }
    }
}

} // namespace
} // namespace tess::platform
