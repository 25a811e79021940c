#include "window/ConversionRun.h"

#include "FakeFileSystem.h"
#include "Gate.h"
#include "WindowTest.h"

#include "imaging/Jpeg.h"
#include "workspace/Prompt.h"

#include <QPushButton>
#include <QWidget>

#include <atomic>
#include <mutex>

namespace tess::workspace {
namespace {

using namespace std::chrono_literals;

// Photos in memory; every write is logged. The hooks run on the reading or writing thread.
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

    std::function<void(const std::string&)> beforeRead, beforeWrite;

private:
    std::mutex m_logMutex;
    std::vector<std::string> m_written;
};

// The run asks one question, answered by a script that may take its time.
class ThinkingPrompt final : public Prompt {
public:
    bool confirm(const std::string& text) override {
        EXPECT_EQ(text, "Interrompere la conversione?");
        ++asked;
        return answer();
    }
    void notice(const std::string& text) override { ADD_FAILURE() << text; }
    std::optional<std::string> askName(const std::string& question, const std::string&) override {
        ADD_FAILURE() << question;
        return std::nullopt;
    }
    void reportError(const std::string& message) override { ADD_FAILURE() << message; }

    std::function<bool()> answer;
    int asked = 0;
};

class ConversionRunTest : public test::WindowTest {};

// While the stop question is open nothing is written, though the workers go on converting
// what they may hold; the answer then stops the run where it held or lets it go on. A question
// asked after the run's last row is answered before the run ends, which has then completed.
// The 20,000 unmarked rows after the photos reach the window in a few calls, not one per row.
TEST_F(ConversionRunTest, TheStopQuestionHoldsTheWritesUntilItIsAnswered) {
    constexpr int kPhotos = 8;
    QWidget window;
    QPushButton* stopButton = new QPushButton(&window);
    ThinkingPrompt prompt;
    std::atomic<ConversionRun*> current = nullptr;
    const struct Case {
        const char* what;
        bool midRun; // asked while the second photo is being written, else after the last row
        bool stop;
        ParallelConversion::End end;
        int rowsDone;
    } cases[] = {
        {"OK", true, true, ParallelConversion::End::Stopped, 2},
        {"Cancel", true, false, ParallelConversion::End::Completed, kPhotos + 20000},
        {"OK after the last row", false, true, ParallelConversion::End::Completed, kPhotos + 20000},
    };
    std::vector<ParallelConversion::Row> rows(kPhotos + 20000);
    for (int row = 0; row < kPhotos; ++row)
        rows[row] = {"IMG" + std::to_string(row) + ".JPG", true};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunFiles files;
        for (int row = 0; row < kPhotos; ++row)
            files.files["C:\\orig\\IMG" + std::to_string(row) + ".JPG"] =
                imaging::encodeJpeg(imaging::RgbImage(64 + row, 48), 90, false);
        auto conversion = std::make_unique<ParallelConversion>(
            files, "C:\\orig", OutputSettings{160, 120, 80, "C:\\small"},
            OutputSettings{64, 48, 50, "C:\\thumbs"}, rows, 2);
        std::atomic<int> ready = 0;
        test::Gate twoMoreReady;
        conversion->setPhotoReady([&](int) {
            if (++ready == 4)
                twoMoreReady.open();
        });
        // Mid-run: the question is asked while the writer is between the second photo's two
        // files, and the photos after it are read only once it is open (the names sort by row).
        test::Gate asked;
        if (c.midRun) {
            files.beforeRead = [&](const std::string& path) {
                if (path > "C:\\orig\\IMG1.JPG")
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
                // Both outputs of the first two photos; the workers finish two more.
                EXPECT_EQ(before.size(), 4u);
                EXPECT_TRUE(twoMoreReady.wait());
            }
            EXPECT_EQ(files.written(), before);
            return c.stop;
        };
        prompt.asked = 0;
        int rowsSeen = 0;
        int calls = 0;
        ParallelConversion::Outcome outcome;
        {
            ConversionRun run(window, *stopButton, prompt, {}, std::move(conversion), current);
            outcome = run.exec([&](int count) {
                rowsSeen += count;
                ++calls;
                if (!c.midRun && rowsSeen == int(rows.size()))
                    run.askToStop();
            });
        }
        EXPECT_EQ(prompt.asked, 1);
        EXPECT_EQ(outcome.end, c.end);
        EXPECT_EQ(outcome.rowsDone, c.rowsDone);
        EXPECT_EQ(rowsSeen, c.rowsDone);
        EXPECT_LT(calls, 100);
        EXPECT_EQ(int(files.written().size()), 2 * std::min(c.rowsDone, kPhotos));
    }
}

} // namespace
} // namespace tess::workspace
