#include "workspace/PreviewWorker.h"

#include "ErrorText.h"
#include "FakeFileSystem.h"
#include "imaging/Jpeg.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tess::workspace {
namespace {

// The fake layer, whose read of `held` waits, once begun, until `held` is cleared; and what
// the worker delivers, as "list:path:size" or "list:path:error".
class Probe final : public test::FakeFileSystem {
public:
    std::optional<std::vector<std::uint8_t>> readFileUpTo(const std::string& path,
                                                          std::size_t maxSize) override {
        change([&] { reads.push_back(path); });
        waitUntil([&] { return path != held; });
        return FakeFileSystem::readFileUpTo(path, maxSize);
    }
    void deliver(const PreviewWorker::Result& r) {
        const std::string text =
            r.error ? test::errorOf([&] { std::rethrow_exception(r.error); })
                    : std::to_string(r.picture.width) + "x" + std::to_string(r.picture.height);
        change([&] { delivered.push_back(std::to_string(r.list) + ":" + r.path + ":" + text); });
    }
    template <class F> void change(F f) {
        const std::lock_guard lock(m_mutex);
        f();
        m_changed.notify_all();
    }
    template <class F> void waitUntil(F condition) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(10), condition);
    }

    std::string held;
    std::vector<std::string> reads;
    std::vector<std::string> delivered;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

TEST(PreviewWorker, DeliversTheLatestRequestOfEachListInTheOrderAsked) {
    Probe probe;
    for (const char* name : {"A.JPG", "B.JPG", "D.JPG", "E.JPG", "F.JPG"})
        probe.files[name] = imaging::encodeJpeg(imaging::RgbImage(64, 48), 80, false);
    probe.held = "A.JPG";
    {
        PreviewWorker worker(probe, 3, [&](PreviewWorker::Result r) { probe.deliver(r); });
        EXPECT_EQ(worker.request(0, "A.JPG"), 1u);
        probe.waitUntil([&] { return probe.reads.size() == 1; });
        // While A is being read: list 0 asks twice more, list 1 asks for a missing file, and
        // list 2 asks and takes it back.
        worker.request(0, "B.JPG");
        worker.request(1, "C.JPG");
        worker.request(2, "E.JPG");
        worker.request(0, "D.JPG");
        worker.withdraw(2);
        probe.change([&] { probe.held.clear(); });
        probe.waitUntil([&] { return probe.delivered.size() == 2; });
        // Later requests go on being served.
        EXPECT_EQ(worker.request(2, "F.JPG"), 6u);
        probe.waitUntil([&] { return probe.delivered.size() == 3; });
    }
    EXPECT_EQ(probe.delivered, (std::vector<std::string>{"1:C.JPG:Cannot open file C.JPG",
                                                         "0:D.JPG:16x12", "2:F.JPG:16x12"}));
    // A was read but not wanted any more; B and E were never read.
    EXPECT_EQ(probe.reads, (std::vector<std::string>{"A.JPG", "C.JPG", "D.JPG", "F.JPG"}));
}

} // namespace
} // namespace tess::workspace
