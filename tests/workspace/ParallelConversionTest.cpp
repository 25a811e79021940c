#include "workspace/ParallelConversion.h"

#include "ErrorText.h"
#include "TempDir.h"
#include "imaging/Jpeg.h"
#include "platform/SystemFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <set>
#include <sys/stat.h>

namespace tess::workspace {
namespace {

using Row = ParallelConversion::Row;

// The real layer, with a hold on the reads of chosen originals, which lets later rows get
// ahead of them, and a count of the photos a pass holds: originals read, less rows whose
// thumbnail has been written.
class ScriptedFileSystem final : public platform::SystemFileSystem {
public:
    std::vector<std::uint8_t> readFile(const std::string& path) override {
        std::unique_lock lock(m_mutex);
        ++m_held;
        m_peak = std::max(m_peak, m_held);
        m_changed.notify_all();
        if (held.count(path.substr(path.rfind('\\') + 1)) != 0) {
            // Long enough for the rows after it to be taken when nothing holds them back.
            m_changed.wait_for(lock, std::chrono::milliseconds(300), [this] { return released; });
        }
        lock.unlock();
        return platform::SystemFileSystem::readFile(path);
    }
    void writeFile(const std::string& path, const void* data, std::size_t size) override {
        platform::SystemFileSystem::writeFile(path, data, size);
        if (path.find("thumbs") != std::string::npos) {
            const std::lock_guard lock(m_mutex);
            --m_held;
        }
    }
    void release() {
        const std::lock_guard lock(m_mutex);
        released = true;
        m_changed.notify_all();
    }
    int peak() const { return m_peak; }

    std::set<std::string> held; // names whose reads wait
    bool released = false;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_held = 0;
    int m_peak = 0;
};

imaging::Bytes textured(int width, int height, int seed, bool progressive) {
    imaging::RgbImage image(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = std::uint8_t((i * 2654435761u + seed * 97) >> 11);
    return imaging::encodeJpeg(image, 90, progressive);
}

class ParallelConversionTest : public ::testing::Test {
protected:
    ParallelConversionTest() {
        for (const char* folder : {"orig", "small", "thumbs", "small1", "thumbs1"})
            m_dir.mkdir(folder);
    }

    // Rows IMG0.JPG ... of distinct photos, all marked but those listed.
    std::vector<Row> photos(int count, std::set<int> unmarked = {}) {
        std::vector<Row> rows;
        for (int i = 0; i < count; ++i) {
            const std::string name = "IMG" + std::to_string(i) + ".JPG";
            const imaging::Bytes data = textured(300 - 7 * i, 200 + 5 * i, i, i % 3 == 1);
            m_dir.write("orig/" + name, std::string(data.begin(), data.end()));
            rows.push_back({name, unmarked.count(i) == 0});
        }
        return rows;
    }
    OutputSettings reduced(const std::string& folder = "small") const {
        return {160, 120, 80, m_dir.win(folder)};
    }
    OutputSettings thumbnail(const std::string& folder = "thumbs") const {
        return {64, 48, 50, m_dir.win(folder)};
    }

    ParallelConversion::Outcome run(const std::vector<Row>& rows, int workers,
                                    std::vector<int>* done = nullptr,
                                    const std::function<void(ParallelConversion&, int)>& after = {},
                                    std::int64_t budget = defaultMemoryBudget()) {
        ParallelConversion pass(m_fs, m_dir.win("orig"), reduced(), thumbnail(), rows, workers,
                                budget);
        const auto outcome = pass.run([&](int row) {
            if (done)
                done->push_back(row);
            if (after)
                after(pass, row);
        });
        m_fs.release();
        return outcome;
    }

    std::vector<std::string> folder(const std::string& name) const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.host(name)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir m_dir;
    ScriptedFileSystem m_fs;
};

TEST_F(ParallelConversionTest, AnyNumberOfWorkersWritesWhatOneRowAtATimeWrites) {
    const std::vector<Row> rows = photos(7, {2, 5});
    // The reference: each marked photo converted twice, one output at a time (not counted).
    platform::SystemFileSystem plain;
    for (const Row& row : rows) {
        if (!row.marked)
            continue;
        for (const OutputSettings& output : {reduced("small1"), thumbnail("thumbs1")})
            ConvertiFoto(plain, output.widthLimit, output.heightLimit, output.quality, row.name,
                         m_dir.win("orig"), output.folder);
    }
    // Also within a memory budget of two and a half of the biggest photo, and of less than any
    // photo, which then runs alone: the peak is the budget's or the biggest photo's.
    std::int64_t least = INT64_MAX;
    std::int64_t most = 0;
    for (const Row& row : rows) {
        const std::int64_t memory = conversionMemory(
            readOriginal(plain, row.name, m_dir.win("orig"), reduced()), reduced(), thumbnail());
        least = std::min(least, memory);
        most = std::max(most, memory);
    }
    const std::pair<int, std::int64_t> passes[] = {
        {1, defaultMemoryBudget()}, {3, defaultMemoryBudget()}, {4, most * 5 / 2}, {4, least / 2}};
    for (const auto& [workers, budget] : passes) {
        m_fs.held = {"IMG0.JPG"}; // later rows are read first
        m_fs.released = false;
        std::vector<int> done;
        const auto outcome = run(rows, workers, &done, {}, budget);
        EXPECT_GE(outcome.peakMemory, most);
        EXPECT_LE(outcome.peakMemory, std::max(budget, most));
        EXPECT_EQ(outcome.end, ParallelConversion::End::Completed);
        EXPECT_EQ(outcome.rowsDone, 7);
        EXPECT_EQ(done, (std::vector<int>{0, 1, 2, 3, 4, 5, 6})) << workers;
        for (const Row& row : rows) {
            for (const auto& [mine, reference] :
                 {std::pair{"small/", "small1/"}, std::pair{"thumbs/", "thumbs1/"}}) {
                EXPECT_EQ(m_dir.exists(mine + row.name), row.marked) << row.name;
                EXPECT_EQ(m_dir.read(mine + row.name), m_dir.read(reference + row.name))
                    << workers << " workers, budget " << budget << ", " << mine << row.name;
            }
        }
        if (budget == defaultMemoryBudget()) {
            EXPECT_LE(m_fs.peak(), workers + 1);
        }
    }
}

TEST_F(ParallelConversionTest, ReducedCopiesOverTheOriginalsFeedTheThumbnails) {
    const std::vector<Row> rows = photos(4);
    m_dir.mkdir("again");
    platform::SystemFileSystem plain;
    for (const Row& row : rows) {
        std::filesystem::copy_file(m_dir.host("orig/" + row.name), m_dir.host("again/" + row.name));
        // By hand: the reduced copy over the original, then the thumbnail from the new file.
        ConvertiFoto(plain, 160, 120, 80, row.name, m_dir.win("again"), m_dir.win("again"));
        ConvertiFoto(plain, 64, 48, 50, row.name, m_dir.win("again"), m_dir.win("thumbs1"));
    }
    ParallelConversion pass(m_fs, m_dir.win("orig"), reduced("orig"), thumbnail(), rows, 3);
    EXPECT_EQ(pass.run([](int) {}).end, ParallelConversion::End::Completed);
    for (const Row& row : rows) {
        EXPECT_EQ(m_dir.read("orig/" + row.name), m_dir.read("again/" + row.name));
        EXPECT_EQ(m_dir.read("thumbs/" + row.name), m_dir.read("thumbs1/" + row.name));
    }
}

TEST_F(ParallelConversionTest, TheFirstFailingRowEndsThePassAndNothingAfterItIsWritten) {
    struct Case {
        const char* what;
        std::function<void()> damage; // to row 2, while row 4 cannot even be opened
        std::string message;
        std::vector<std::string> reduced, thumbs; // what the output folders hold afterwards
    };
    const std::vector<std::string> firstTwo{"IMG0.JPG", "IMG1.JPG"};
    std::vector<std::string> withRow2 = firstTwo;
    withRow2.push_back("IMG2.JPG");
    const Case cases[] = {
        {"damaged original", [&] { m_dir.write("orig/IMG2.JPG", "GIF89a"); }, "JPEG error #",
         firstTwo, firstTwo},
        {"read-only thumbnail",
         [&] {
             m_dir.write("thumbs/IMG2.JPG", "old");
             chmod(m_dir.host("thumbs/IMG2.JPG").c_str(), 0444);
         },
         "Cannot create file " + m_dir.win("thumbs") + "\\IMG2.JPG", withRow2, withRow2},
    };
    for (const Case& c : cases) {
        for (const char* folder : {"small", "thumbs"}) {
            std::filesystem::remove_all(m_dir.host(folder));
            m_dir.mkdir(folder);
        }
        std::vector<Row> rows = photos(6);
        c.damage();
        std::filesystem::remove(m_dir.host("orig/IMG4.JPG"));
        m_fs.held = {"IMG2.JPG"}; // the later failure comes first
        m_fs.released = false;
        std::vector<int> done;
        const auto outcome = run(rows, 3, &done);
        ASSERT_EQ(outcome.end, ParallelConversion::End::Failed) << c.what;
        EXPECT_EQ(test::errorOf([&] {
                      std::rethrow_exception(outcome.error);
                  }).substr(0, c.message.size()),
                  c.message)
            << c.what;
        EXPECT_EQ(outcome.rowsDone, 2) << c.what;
        EXPECT_EQ(done, (std::vector<int>{0, 1})) << c.what;
        // No output of a later row, and no temporary left behind.
        EXPECT_EQ(folder("small"), c.reduced) << c.what;
        EXPECT_EQ(folder("thumbs"), c.thumbs) << c.what;
    }
}

TEST_F(ParallelConversionTest, StopKeepsTheRowsWrittenAndStartsNoOther) {
    const std::vector<Row> rows = photos(8, {3});
    for (const int stopAfter : {1, 3}) { // a marked row, an unmarked one
        for (const char* folder : {"small", "thumbs"}) {
            std::filesystem::remove_all(m_dir.host(folder));
            m_dir.mkdir(folder);
        }
        std::vector<int> done;
        const auto outcome = run(rows, 2, &done, [&](ParallelConversion& pass, int row) {
            if (row == stopAfter)
                pass.stop();
        });
        EXPECT_EQ(outcome.end, ParallelConversion::End::Stopped);
        EXPECT_EQ(outcome.rowsDone, stopAfter + 1);
        EXPECT_EQ(int(done.size()), stopAfter + 1);
        std::vector<std::string> written;
        for (int i = 0; i <= stopAfter; ++i) {
            if (rows[i].marked)
                written.push_back(rows[i].name);
        }
        EXPECT_EQ(folder("small"), written) << stopAfter;
        EXPECT_EQ(folder("thumbs"), written) << stopAfter;
    }
}

} // namespace
} // namespace tess::workspace
