#include "ErrorText.h"
#include "TempDir.h"

#include "imaging/Jpeg.h"
#include "platform/SystemFileSystem.h"
#include "workspace/ConversionPass.h"
#include "workspace/PhotoCommands.h"
#include "workspace/Prompt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>

using namespace tess::workspace;
using tess::test::TempDir;

namespace {

// Answers from a script and logs what was asked: "?" a question, "!" a notice, "name:" the
// base name offered, "error:" a reported failure.
class ScriptedPrompt final : public Prompt {
public:
    std::deque<bool> confirms;
    std::deque<std::optional<std::string>> names;
    std::vector<std::string> log;

    bool confirm(const std::string& text) override { return next(confirms, "? " + text); }
    void notice(const std::string& text) override { log.push_back("! " + text); }
    std::optional<std::string> askName(const std::string&, const std::string& base) override {
        return next(names, "name: " + base);
    }
    void reportError(const std::string& message) override { log.push_back("error: " + message); }

private:
    template <class T> T next(std::deque<T>& answers, const std::string& asked) {
        log.push_back(asked);
        if (answers.empty()) {
            ADD_FAILURE() << "no answer for " << asked;
            return T{};
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

std::vector<std::string> names(const PhotoTable& table) {
    std::vector<std::string> result;
    for (int i = 0; i < table.rowCount(); ++i)
        result.push_back(table.row(i).nomeFoto);
    return result;
}

const std::string kNoThumbnail = "! Attenzione: non è stata trovata la foto thumb relativa alla "
                                 "foto ridotta che si sta rinominando";
const std::string kAskConvert = "? Procedo al ridimensionamento delle foto selezionate?";
const std::string kBadParameters = "! Attenzione: errore nei parametri foto. Verificare.";

class PhotoCommandsTest : public ::testing::Test {
protected:
    PhotoCommandsTest() {
        for (const char* folder : {"originali", "ridotte", "thumbs"})
            dir.mkdir(folder);
    }
    // Writes the files, then builds the three lists.
    void files(std::initializer_list<const char*> paths) {
        for (const char* path : paths)
            dir.write(path);
        for (int c = 0; c < 3; ++c)
            at(c).rebuild(fs);
    }
    ListAt at(int column) { return {dir.win(kFolders[column]) + "\\", lists[column]}; }

    static constexpr const char* kFolders[] = {"originali", "ridotte", "thumbs"};
    tess::platform::SystemFileSystem fs;
    TempDir dir;
    ScriptedPrompt prompt;
    PhotoCommands commands{fs, prompt};
    FolderList lists[3];
};

} // namespace

TEST_F(PhotoCommandsTest, ARenamedReducedPhotoTakesItsThumbnailAlongOnlyWhenItMoved) {
    struct Case {
        std::optional<std::string> typed;
        const char* reduced; // the reduced photo's name afterwards, and the thumbnail's
        const char* thumbnail;
        const char* current;
    } cases[] = {
        {"Mare", "Mare.JPG", "Mare.JPG", "Mare.JPG"},
        {std::nullopt, "b.JPG", "b.JPG", "a.JPG"}, // not confirmed: no second question
        {"a", "b.JPG", "b.JPG", "b.JPG"},          // the name is taken: the pair stays together
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir.host("ridotte/Mare.JPG"));
        std::filesystem::remove_all(dir.host("thumbs/Mare.JPG"));
        files({"ridotte/a.JPG", "ridotte/b.JPG", "thumbs/b.JPG"});
        lists[1].table.locate("b.JPG");
        prompt.log.clear();
        prompt.names = {c.typed};
        commands.renameReduced(at(1), at(2));
        EXPECT_EQ(prompt.log, (std::vector<std::string>{"name: b"}));
        EXPECT_TRUE(dir.exists(std::string("ridotte/") + c.reduced)) << c.reduced;
        EXPECT_TRUE(dir.exists(std::string("thumbs/") + c.thumbnail)) << c.thumbnail;
        EXPECT_EQ(lists[1].table.currentName(), c.current) << c.reduced;
        EXPECT_EQ(lists[1].listedFolder, at(1).folder);
    }
}

TEST_F(PhotoCommandsTest, AMissingThumbnailIsToldAndItsListLeftAlone) {
    files({"ridotte/a.jpg", "thumbs/x.jpg"});
    lists[2].table.setCurrentMark(1);
    prompt.names = {"b"};
    commands.renameReduced(at(1), at(2));
    EXPECT_EQ(prompt.log, (std::vector<std::string>{"name: a", kNoThumbnail}));
    EXPECT_EQ(names(lists[1].table), (std::vector<std::string>{"b.jpg"}));
    EXPECT_EQ(lists[2].table.currentMark(), 1); // not rebuilt

    prompt.log.clear();
    prompt.confirms = {true};
    commands.deleteReduced(at(1), at(2));
    EXPECT_EQ(prompt.log.back(), "! Foto Thumb da cancellare non trovata");
    EXPECT_TRUE(lists[1].table.isEmpty());
    EXPECT_EQ(lists[2].table.currentMark(), 0); // rebuilt all the same
}

TEST_F(PhotoCommandsTest, DeletingAsksFirstAndTouchesOnlyThatList) {
    files({"originali/a.jpg", "originali/b.jpg", "ridotte/a.jpg", "thumbs/a.jpg"});
    lists[0].table.setCurrentMark(1);
    prompt.confirms = {false, true};
    commands.deleteOriginal(at(0));
    EXPECT_EQ(lists[0].table.currentMark(), 1); // cancelled: not even the marks change
    commands.deleteOriginal(at(0));
    EXPECT_EQ(names(lists[0].table), (std::vector<std::string>{"b.jpg"}));
    EXPECT_TRUE(dir.exists("ridotte/a.jpg"));
    EXPECT_TRUE(dir.exists("thumbs/a.jpg"));

    // With nothing listed the question is still asked, and nothing follows.
    std::filesystem::remove(dir.host("originali/b.jpg"));
    at(0).rebuild(fs);
    prompt.log.clear();
    prompt.confirms = {true};
    commands.deleteOriginal(at(0));
    commands.renameOriginal(at(0));
    EXPECT_EQ(prompt.log.size(), 1u);
}

TEST_F(PhotoCommandsTest, AConversionChecksItsParametersBeforeAnything) {
    files({"originali/a.jpg"});
    lists[0].table.setCurrentMark(1);
    const std::array<std::string, TextSettingCount> good = {
        at(0).folder, at(1).folder, at(2).folder, "800", "600", "80", "640", "480", "50"};
    struct Case {
        TextSetting box;
        const char* text;
        std::deque<bool> answers;
        std::vector<std::string> log;
        const char* error;
    } cases[] = {
        {CFotoThumbs, "50 ", {}, {}, "'50 ' is not a valid integer value"},
        {LFotoThumbs, "0", {}, {kBadParameters}, nullptr},
        {LFotoRidotte, "100000", {}, {kBadParameters}, nullptr}, // beyond any JPEG file
        {AFotoThumbs, "65501", {}, {kBadParameters}, nullptr},
        {PercorsoFotoRidotte,
         "",
         {true},
         {kAskConvert, "! Attenzione: errore nei percorsi foto. Verificare."},
         nullptr},
        {CFotoRidotte, "80", {false}, {kAskConvert}, nullptr},
    };
    for (const Case& c : cases) {
        auto texts = good;
        texts[c.box] = c.text;
        prompt.log.clear();
        prompt.confirms = c.answers;
        ConversionPass pass(fs, prompt, lists[0], lists[1], lists[2]);
        bool started = true;
        EXPECT_EQ(tess::test::errorOf([&] { started = pass.start(texts); }),
                  c.error ? c.error : "no error");
        EXPECT_FALSE(started && !c.error) << c.text;
        EXPECT_EQ(prompt.log, c.log) << c.text;
    }
    EXPECT_FALSE(dir.exists("ridotte/a.jpg"));
}

// A folder typed into a box but not listed yet: the commands act on the photos the user sees
// listed, and only the conversion's copies go to the folders in the boxes.
TEST_F(PhotoCommandsTest, CommandsActOnTheListedFolderNotOnATypedOne) {
    for (const char* folder : {"altre", "altre_r", "altre_t"})
        dir.mkdir(folder);
    const tess::imaging::Bytes photo =
        tess::imaging::encodeJpeg(tess::imaging::RgbImage(40, 30), 80, false);
    const std::string jpeg(photo.begin(), photo.end());
    for (const char* path : {"originali/a.jpg", "originali/b.jpg", "ridotte/r.jpg", "thumbs/r.jpg",
                             "altre/a.jpg", "altre/b.jpg", "altre_r/r.jpg", "altre_t/r.jpg"})
        dir.write(path, jpeg);
    files({});
    const auto typed = [&](int column, const char* folder) {
        return ListAt{dir.win(folder) + "\\", lists[column]};
    };
    prompt.confirms = {true, true, true};
    prompt.names = {"x", "y"};
    commands.deleteOriginal(typed(0, "altre"));
    at(0).rebuild(fs);
    commands.renameOriginal(typed(0, "altre"));
    at(0).rebuild(fs);
    commands.renameReduced(typed(1, "altre_r"), typed(2, "altre_t"));
    at(1).rebuild(fs);
    at(2).rebuild(fs);
    commands.deleteReduced(typed(1, "altre_r"), typed(2, "altre_t"));
    for (const char* path : {"altre/a.jpg", "altre/b.jpg", "altre_r/r.jpg", "altre_t/r.jpg"})
        EXPECT_TRUE(dir.exists(path)) << path;
    for (const char* path : {"originali/a.jpg", "originali/b.jpg", "ridotte/r.jpg", "thumbs/r.jpg",
                             "ridotte/y.jpg", "thumbs/y.jpg"})
        EXPECT_FALSE(dir.exists(path)) << path;
    EXPECT_TRUE(dir.exists("originali/x.jpg"));

    // The conversion reads the listed original even when its box now names another folder.
    std::filesystem::remove(dir.host("altre/b.jpg"));
    dir.write("altre/x.jpg", "not a photo");
    at(0).rebuild(fs);
    lists[0].table.setCurrentMark(1);
    ConversionPass pass(fs, prompt, lists[0], lists[1], lists[2]);
    ASSERT_TRUE(pass.start(
        {dir.win("altre") + "\\", at(1).folder, at(2).folder, "80", "60", "80", "40", "30", "50"}));
    EXPECT_EQ(pass.parallel(1)->run([&](int) { pass.advance(); }).end,
              ParallelConversion::End::Completed);
    EXPECT_TRUE(dir.exists("ridotte/x.jpg"));
    EXPECT_TRUE(dir.exists("thumbs/x.jpg"));
}

// Names that differ only in letter case, which a Linux folder holds side by side: a command on
// one of them never takes the other's files for its own.
TEST_F(PhotoCommandsTest, CaseTwinsNeverTakeEachOthersCopiesOrThumbnails) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows folder cannot hold two names that differ only in letter case";
#endif
    using tess::imaging::RgbImage;
    const auto jpeg = [](int width, int height) {
        const tess::imaging::Bytes bytes =
            tess::imaging::encodeJpeg(RgbImage(width, height), 80, false);
        return std::string(bytes.begin(), bytes.end());
    };
    const auto size = [this](const std::string& name) {
        const tess::imaging::JpegInfo info =
            tess::imaging::readJpegHeader(fs.readFile(dir.win(name)));
        return std::to_string(info.width) + "x" + std::to_string(info.height);
    };
    const std::array<std::string, TextSettingCount> texts = {
        at(0).folder, at(1).folder, at(2).folder, "80", "60", "80", "40", "30", "50"};
    const std::pair<std::string, std::string> twins[] = {
        {"A.JPG", "a.jpg"}, {"\u00C9.JPG", "\u00E9.jpg"}, {"\u03A3.jpg", "\u03C3.jpg"}};
    for (const auto& [upper, lower] : twins) {
        SCOPED_TRACE(lower);
        for (const char* folder : kFolders) {
            std::filesystem::remove_all(dir.host(folder));
            dir.mkdir(folder);
        }
        dir.write("originali/" + upper, jpeg(40, 30));
        dir.write("originali/" + lower, jpeg(30, 40));
        dir.write("ridotte/" + upper, "copia di " + upper);
        dir.write("thumbs/" + upper, "thumb di " + upper);
        files({});
        ASSERT_EQ(names(lists[0].table), (std::vector<std::string>{upper, lower}));

        // Both marked: refused before anything is written, naming both.
        for (int row : {0, 1}) {
            lists[0].table.moveTo(row);
            lists[0].table.setCurrentMark(1);
        }
        prompt.log.clear();
        prompt.confirms = {true};
        EXPECT_FALSE(ConversionPass(fs, prompt, lists[0], lists[1], lists[2]).start(texts));
        EXPECT_EQ(prompt.log.back(),
                  "! Attenzione: le foto \"" + upper + "\" e \"" + lower +
                      "\" differiscono solo per maiuscole e minuscole.\nLe loro copie avrebbero "
                      "lo stesso nome: rinominarne una.");
        EXPECT_EQ(dir.names("ridotte"), (std::vector<std::string>{upper}));

        // The portrait one alone: its copies are files of its own, the other's stay.
        lists[0].table.moveTo(0);
        lists[0].table.setCurrentMark(0);
        prompt.confirms = {true};
        ConversionPass pass(fs, prompt, lists[0], lists[1], lists[2]);
        ASSERT_TRUE(pass.start(texts));
        EXPECT_EQ(pass.parallel(2)->run([&](int) { pass.advance(); }).end,
                  ParallelConversion::End::Completed);
        EXPECT_EQ(dir.read("ridotte/" + upper), "copia di " + upper);
        EXPECT_EQ(dir.read("thumbs/" + upper), "thumb di " + upper);
        EXPECT_EQ(size("ridotte/" + lower), "60x80");
        EXPECT_EQ(size("thumbs/" + lower), "30x40");

        // Deleting or renaming one reduced photo when only the other's thumbnail is there.
        std::filesystem::remove(dir.host("thumbs/" + lower));
        files({});
        lists[1].table.locate(lower);
        prompt.confirms = {true};
        commands.deleteReduced(at(1), at(2));
        EXPECT_EQ(prompt.log.back(), "! Foto Thumb da cancellare non trovata");
        files({("ridotte/" + lower).c_str()});
        lists[1].table.locate(lower);
        prompt.names = {"b"};
        commands.renameReduced(at(1), at(2));
        EXPECT_EQ(prompt.log.back(), kNoThumbnail);
        std::vector<std::string> reduced{upper, "b.jpg"};
        std::sort(reduced.begin(), reduced.end());
        EXPECT_EQ(dir.names("ridotte"), reduced);
        EXPECT_EQ(dir.names("thumbs"), (std::vector<std::string>{upper}));
    }
    // Without a twin, the thumbnail in another letter case is the photo's own, as on Windows.
    std::filesystem::remove_all(dir.host("ridotte"));
    std::filesystem::remove_all(dir.host("thumbs"));
    dir.mkdir("ridotte");
    dir.mkdir("thumbs");
    files({"ridotte/x.jpg", "thumbs/X.JPG"});
    prompt.log.clear();
    prompt.confirms = {true};
    commands.deleteReduced(at(1), at(2));
    EXPECT_EQ(prompt.log.size(), 1u);
    EXPECT_TRUE(dir.names("thumbs").empty());
}

// Temporary files a killed run left are not listed, and go once a run writes their folder; one
// just written (another copy of the program at work there) and other names stay.
TEST_F(PhotoCommandsTest, AConversionRemovesTheTemporaryFilesAKilledRunLeft) {
    const std::string stale = ".tess-0123456789abcdef-7.tmp";
    const std::string fresh = ".tess-0123456789abcdef-8.tmp";
    for (const std::string& path : {"ridotte/" + stale, "thumbs/" + stale,
                                    std::string("ridotte/.tess-x.tmp"), "originali/" + stale}) {
        dir.write(path);
        std::filesystem::last_write_time(dir.host(path),
                                         std::filesystem::last_write_time(dir.host(path)) -
                                             std::chrono::minutes(2));
    }
    files({("ridotte/" + fresh).c_str()});
    EXPECT_EQ(names(lists[1].table), (std::vector<std::string>{".tess-x.tmp"}));
    prompt.confirms = {true};
    ASSERT_TRUE(
        ConversionPass(fs, prompt, lists[0], lists[1], lists[2])
            .start({at(0).folder, at(1).folder, at(2).folder, "80", "60", "80", "40", "30", "50"}));
    EXPECT_EQ(dir.names("ridotte"),
              (std::vector<std::string>{".tess-0123456789abcdef-8.tmp", ".tess-x.tmp"}));
    EXPECT_TRUE(dir.names("thumbs").empty());
    EXPECT_EQ(dir.names("originali"), (std::vector<std::string>{stale})); // not written
}

TEST_F(PhotoCommandsTest, AFailedSaveIsReportedNotThrown) {
    prompt.log.clear();
    // A folder where the settings file should be: the file cannot be written.
    dir.makeFolder("Tessaluma.ini");
    saveSettings(fs, dir.win("Tessaluma.ini"), Settings{}, prompt);
    ASSERT_EQ(prompt.log.size(), 1u);
    EXPECT_EQ(prompt.log[0].rfind("error: Unable to write to ", 0), 0u) << prompt.log[0];
}
