#include "TempDir.h"

#include "platform/SystemFileSystem.h"
#include "workspace/PhotoList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace tess::workspace;
using tess::test::TempDir;

namespace {

std::vector<std::string> names(const PhotoTable& table) {
    std::vector<std::string> result;
    for (int i = 0; i < table.rowCount(); ++i)
        result.push_back(table.row(i).nomeFoto);
    return result;
}

class PhotoListTest : public ::testing::Test {
protected:
    tess::platform::SystemFileSystem fs;
    TempDir dir;
    PhotoTable table;
};

} // namespace

TEST(PhotoListRules, Skips) {
    EXPECT_TRUE(VerificaSeDirectoryDOS("."));
    EXPECT_TRUE(VerificaSeDirectoryDOS(".."));
    EXPECT_TRUE(VerificaSeDirectoryDOS("strano."));
    EXPECT_FALSE(VerificaSeDirectoryDOS("a.jpg"));
    for (const char* db : {"Thumbs.db", "THUMBS.DB", "thumbs.DB"})
        EXPECT_TRUE(VerificaSeDb(db)) << db;
    for (const char* other : {"Thumbs.db2", "Thumbs", "xThumbs.db"})
        EXPECT_FALSE(VerificaSeDb(other)) << other;
    EXPECT_EQ(searchPattern("C:\\Foto\\"), "C:\\Foto\\*.*");
    EXPECT_EQ(searchPattern("C:\\Foto"), "C:\\Foto\\*.*");
    EXPECT_EQ(searchPattern(""), "\\*.*");
}

TEST_F(PhotoListTest, ListsFilesAndHiddenFoldersButNotPlainFoldersOrThumbsDb) {
    dir.write("b.jpg");
    dir.write("A.JPG");
    dir.write("note.txt");
    dir.write("senzaestensione");
    dir.write(".nascosto");
    dir.write("Thumbs.db");
    dir.write("THUMBS.DB2");
    dir.mkdir("sottocartella");
    dir.mkdir(".cartellanascosta"); // hidden directory: 18, listed like a file
    const std::string readOnly = dir.mkdir("solalettura"); // 17: skipped
    std::filesystem::permissions(readOnly,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);

    for (const std::string& folder : {dir.win(), dir.win() + "\\"}) {
        CaricaListaFoto(fs, folder, table);
        EXPECT_EQ(names(table),
                  (std::vector<std::string>{".cartellanascosta", ".nascosto", "A.JPG", "b.jpg",
                                            "note.txt", "senzaestensione", "THUMBS.DB2"}))
            << folder;
        EXPECT_EQ(table.recNo(), 1);
    }
}

// Names no Windows folder can hold would fail only when written, and the program's own
// temporary files are no photos.
TEST_F(PhotoListTest, LeavesOutNamesWindowsCannotHoldAndTheProgramsTemporaryFiles) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows folder cannot hold these names";
#endif
    for (const char* name : {"ok.jpg", "g-colon 12:30.jpg", "tab\t.jpg", "nl\n.jpg", "\x01.jpg",
                             "a|b.jpg", ".tess-0123456789abcdef-3.tmp", ".tess-mia.tmp"})
        dir.write(name);
    CaricaListaFoto(fs, dir.win(), table);
    EXPECT_EQ(names(table), (std::vector<std::string>{".tess-mia.tmp", "ok.jpg"}));
}

TEST_F(PhotoListTest, RebuildDropsMarksAndEndsOnTheFirstRow) {
    dir.write("a.jpg");
    dir.write("b.jpg");
    CaricaListaFoto(fs, dir.win(), table);
    table.moveTo(1);
    table.setCurrentMark(1);
    int notifications = 0;
    table.setAfterScroll([&] { ++notifications; });
    CaricaListaFoto(fs, dir.win(), table);
    EXPECT_EQ(table.row(1).selezionato, 0);
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_EQ(notifications, 3); // two appends and the move to the first row
    EXPECT_FALSE(table.controlsDisabled());
}

TEST_F(PhotoListTest, MissingFolderOrOnlyThumbsDbGivesAnEmptyList) {
    CaricaListaFoto(fs, dir.win("manca"), table);
    EXPECT_TRUE(table.isEmpty());
    EXPECT_TRUE(table.isOpen());
    dir.write("Thumbs.db");
    dir.mkdir("sotto");
    CaricaListaFoto(fs, dir.win(), table);
    EXPECT_TRUE(table.isEmpty());
}

TEST_F(PhotoListTest, EmptyPathListsTheRootOfTheCurrentDrive) {
    CaricaListaFoto(fs, "", table);
    // The host root's plain folders are skipped, so whatever is listed is no plain folder.
    for (const std::string& name : names(table))
        EXPECT_FALSE(VerificaSeDirectory(fs, "\\" + name)) << name;
    PhotoTable viaRoot;
    CaricaListaFoto(fs, fs.currentDirectory().substr(0, 3), viaRoot);
    EXPECT_EQ(names(table), names(viaRoot));
}
