#include "window/ConversionRun.h"

#include "FakeFileSystem.h"
#include "Gate.h"
#include "TestPictures.h"
#include "WindowTest.h"

#include "imaging/Jpeg.h"
#include "workspace/Prompt.h"

#include <QPushButton>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <numeric>

namespace tess::workspace {
namespace {

using namespace std::chrono_literals;

// Photos in memory; every write is logged, and hooks run before each read and write on the
// thread that does it.
class RunFiles final : public test::FakeFileSystem {
public:
    std::vector<std::uint8_t> readFile(const std::string& path) override {
        if (beforeRead)
            beforeRead(path);
        return FakeFileSystem::readFile(path);
    }
    void writeFile(const std::string& path, const void* data, std::size_t size) override {
        if (beforeWrite)
            beforeWrite(path);
        FakeFileSystem::writeFile(path, data, size);
        const std::lock_guard lock(m_logMutex);
        m_written.push_back(path);
    }
    std::vector<std::string> written() {
        const std::lock_guard lock(m_logMutex);
        return m_written;
    }

    std::function<void(const std::string&path)> beforeRead, beforeWrite;

private:
    std::mutex m_logMutex;
    std::vector<std::string> m_written;
};

// Answers the run's questions with a script; the run asks nothing else.
class ScriptedPrompt final : public Prompt {
public:
    bool confirm(const std::string& text) override {
        questions.push_back(text);
        return answer();
    }
    void notice(const std::string& text) override { ADD_FAILURE() << text; }
    std::optional<std::string> askName(const std::string& question, const std::string&) override {
        ADD_FAILURE() << question;
        return std::nullopt;
    }
    void reportError(const std::string& message) override { ADD_FAILURE() << message; }

    std::function<bool()> answer;
    std::vector<std::string> questions;
};

// Counts the photos the workers have converted, and waits for more.
class ReadyCount {
public:
    void add() {
        const std::lock_guard lock(m_mutex);
        ++m_count;
        m_changed.notify_all();
    }
    int count() {
        const std::lock_guard lock(m_mutex);
        return m_count;
    }
    bool waitFor(int count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 10s, [&] { return m_count >= count; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_count = 0;
};

constexpr int kPhotos = 8;

std::string original(int row) {
    return "C:\\orig\\IMG" + std::to_string(row) + ".JPG";
}

class ConversionRunTest : public test::WindowTest {
protected:
    void addPhotos(RunFiles& files) {
        for (int row = 0; row < kPhotos; ++row) {
            files.files[original(row)] = imaging::encodeJpeg(
                test::paintPicture(64 + row, 48,
                                   [&](int x, int y) {
                                       return std::array{x * 4, y * 5, row * 30};
                                   }),
                90, false);
        }
    }
    std::unique_ptr<ParallelConversion>
    pass(RunFiles& files, std::vector<ParallelConversion::Row> rows, int workers) {
        return std::make_unique<ParallelConversion>(
            files, "C:\\orig", OutputSettings{160, 120, 80, "C:\\small"},
            OutputSettings{64, 48, 50, "C:\\thumbs"}, std::move(rows), workers);
    }
    static std::vector<ParallelConversion::Row> marked(int count) {
        std::vector<ParallelConversion::Row> rows;
        for (int row = 0; row < count; ++row)
            rows.push_back({"IMG" + std::to_string(row) + ".JPG", true});
        return rows;
    }

    QWidget window;
    QPushButton* stopButton = new QPushButton(&window);
    ScriptedPrompt prompt;
    std::atomic<ConversionRun*> current = nullptr;
};

// While the stop question is open nothing is written, though the workers go on converting
// what they may hold; the answer then stops the run where it held or lets it go on. A question
// asked as the run's last row is written is answered before the run ends, which has then
// completed.
TEST_F(ConversionRunTest, TheStopQuestionHoldsTheWritesUntilItIsAnswered) {
    const struct Case {
        const char* what;
        bool midRun; // asked while the second photo is being written, else after the last row
        bool stop;
        ParallelConversion::End end;
        int rowsDone;
    } cases[] = {
        {"OK", true, true, ParallelConversion::End::Stopped, 2},
        {"Cancel", true, false, ParallelConversion::End::Completed, kPhotos},
        {"OK after the last row", false, true, ParallelConversion::End::Completed, kPhotos},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunFiles files;
        addPhotos(files);
        auto conversion = pass(files, marked(kPhotos), 2);
        ReadyCount ready;
        conversion->setPhotoReady([&](int) { ready.add(); });
        // Mid-run: the question is asked while the writer is between the second photo's two
        // files, and the photos from the third on are read only once it is open.
        test::Gate asked;
        if (c.midRun) {
            files.beforeRead = [&](const std::string& path) {
                if (path > original(1))
                    asked.wait();
            };
            files.beforeWrite = [&](const std::string& path) {
                if (path != "C:\\small\\IMG1.JPG")
                    return;
                QMetaObject::invokeMethod(
                    &window, [&] { current.load()->askToStop(); }, Qt::QueuedConnection);
                // Long enough for the question to be asked, were it asked at once.
                asked.wait(300ms);
            };
        }
        prompt.answer = [&] {
            const std::vector<std::string> before = files.written();
            asked.open();
            if (c.midRun) {
                // Both outputs of the first two photos, and the workers finish two more.
                EXPECT_EQ(before.size(), 4u);
                EXPECT_TRUE(ready.waitFor(4));
            }
            EXPECT_EQ(files.written(), before);
            return c.stop;
        };
        prompt.questions.clear();
        int rowsSeen = 0;
        ParallelConversion::Outcome outcome;
        {
            ConversionRun run(window, *stopButton, prompt, {}, std::move(conversion), current);
            outcome = run.exec([&](int count) {
                rowsSeen += count;
                if (!c.midRun && rowsSeen == kPhotos)
                    run.askToStop();
            });
        }
        EXPECT_EQ(prompt.questions, std::vector<std::string>{"Interrompere la conversione?"});
        EXPECT_EQ(outcome.end, c.end);
        EXPECT_EQ(outcome.rowsDone, c.rowsDone);
        EXPECT_EQ(rowsSeen, c.rowsDone);
        EXPECT_EQ(int(files.written().size()), 2 * c.rowsDone);
    }
}

// A long list passed over at once reaches the window in a few calls, not one per row, and
// every row is counted before the run returns.
TEST_F(ConversionRunTest, RowsReachTheWindowCoalesced) {
    RunFiles files;
    addPhotos(files);
    std::vector<ParallelConversion::Row> rows(20000);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].name = "unmarked" + std::to_string(i);
    rows.back() = {"IMG0.JPG", true};
    std::vector<int> counts;
    ConversionRun run(window, *stopButton, prompt, {}, pass(files, rows, 2), current);
    const auto outcome = run.exec([&](int count) { counts.push_back(count); });
    EXPECT_EQ(outcome.end, ParallelConversion::End::Completed);
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), int(rows.size()));
    EXPECT_LT(counts.size(), 100u);
}

} // namespace
} // namespace tess::workspace
