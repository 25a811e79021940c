#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tess::test {

// Holds the threads that wait on it until it is opened (for ten seconds at most unless told,
// so that a broken test fails instead of hanging).
class Gate {
public:
    void open() {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_opened.notify_all();
    }
    // True when it was opened in time.
    bool wait(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        std::unique_lock lock(m_mutex);
        return m_opened.wait_for(lock, timeout, [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
};

} // namespace tess::test
