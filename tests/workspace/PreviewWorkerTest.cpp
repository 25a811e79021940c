#include "workspace/PreviewWorker.h"

#include "ErrorText.h"
#include "FakeFileSystem.h"
#include "imaging/Jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tess::workspace {
namespace {

// The fake layer, whose reads can be held: a read of `held` waits, once it has begun, until
// release().
class HeldFileSystem final : public test::FakeFileSystem {
public:
    std::optional<std::vector<std::uint8_t>> readFileUpTo(const std::string& path,
                                                          std::size_t maxSize) override {
        {
            std::unique_lock lock(m_mutex);
            reads.push_back(path);
            m_changed.notify_all();
            m_changed.wait_for(lock, std::chrono::seconds(10),
                               [&] { return path != held || released; });
        }
        return FakeFileSystem::readFileUpTo(path, maxSize);
    }
    // Waits until the read of `path` has begun.
    void waitForRead(const std::string& path) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(10), [&] {
            return std::find(reads.begin(), reads.end(), path) != reads.end();
        });
    }
    void release() {
        const std::lock_guard lock(m_mutex);
        released = true;
        m_changed.notify_all();
    }

    std::string held;
    bool released = false;
    std::vector<std::string> reads;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

// What the worker delivered, in order, as "list:path:size" or "list:path:error".
class Deliveries {
public:
    void add(const PreviewWorker::Result& result) {
        std::string text = std::to_string(result.list) + ":" + result.path + ":";
        text += result.error ? test::errorOf([&] { std::rethrow_exception(result.error); })
                             : std::to_string(result.picture.width) + "x" +
                                   std::to_string(result.picture.height);
        const std::lock_guard lock(m_mutex);
        m_texts.push_back(text);
        m_changed.notify_all();
    }
    std::vector<std::string> waitFor(std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_texts.size() >= count; });
        return m_texts;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_texts;
};

TEST(PreviewWorker, DeliversTheLatestRequestOfEachListInTheOrderAsked) {
    HeldFileSystem fs;
    const imaging::Bytes photo = imaging::encodeJpeg(imaging::RgbImage(64, 48), 80, false);
    for (const char* name : {"A.JPG", "B.JPG", "D.JPG", "E.JPG", "F.JPG"})
        fs.files[name] = photo;
    fs.held = "A.JPG";
    Deliveries delivered;
    {
        PreviewWorker worker(fs, 3, [&](PreviewWorker::Result result) { delivered.add(result); });
        EXPECT_EQ(worker.request(0, "A.JPG"), 1u);
        fs.waitForRead("A.JPG");
        // While A is being read: list 0 asks twice more, list 1 asks for a missing file, and
        // list 2 asks and takes it back.
        worker.request(0, "B.JPG");
        worker.request(1, "C.JPG");
        worker.request(2, "E.JPG");
        worker.request(0, "D.JPG");
        worker.withdraw(2);
        fs.release();
        EXPECT_EQ(delivered.waitFor(2),
                  (std::vector<std::string>{"1:C.JPG:Cannot open file C.JPG", "0:D.JPG:16x12"}));
        // Later requests go on being served.
        EXPECT_EQ(worker.request(2, "F.JPG"), 6u);
        EXPECT_EQ(delivered.waitFor(3).back(), "2:F.JPG:16x12");
    }
    // A was read but not wanted any more; B and E were never read.
    EXPECT_EQ(fs.reads, (std::vector<std::string>{"A.JPG", "C.JPG", "D.JPG", "F.JPG"}));
}

} // namespace
} // namespace tess::workspace
