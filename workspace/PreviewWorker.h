#pragma once

#include "imaging/Image.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {

// Decodes the previews of a window's lists on a thread of its own, one photo at a time, so
// that no decode ever holds the window. Each list has at most one request waiting: a new one
// replaces it, and a running decode for a list that has asked again is stopped, its result
// never delivered. The decodes run in the order they were asked for, so their results come in
// that order too.
class PreviewWorker {
public:
    struct Result {
        int list = 0;
        std::uint64_t ticket = 0; // the request's, see request()
        std::string path;
        imaging::RgbImage picture;
        std::exception_ptr error; // set when the preview failed
    };
    // Called on the worker's thread with each result, in the order asked for, while the worker
    // holds its lock: it hands the result on and must not call the worker back. It is never
    // called once the destructor has begun.
    using Deliver = std::function<void(Result)>;

    PreviewWorker(platform::FileSystem& fs, int lists, Deliver deliver);
    // Stops the running decode and waits for the thread to end; nothing more is delivered.
    ~PreviewWorker();
    PreviewWorker(const PreviewWorker&) = delete;
    PreviewWorker& operator=(const PreviewWorker&) = delete;

    // Asks for the preview of `path` for `list`, replacing what the list asked before. Gives
    // the request's ticket: tickets grow with each request, from 1.
    std::uint64_t request(int list, std::string path);
    // Drops what the list has asked for, waiting or running.
    void withdraw(int list);

private:
    struct Job {
        int list = 0;
        std::uint64_t ticket = 0;
        std::string path;
    };

    void work();
    // Called with the lock held.
    void dropLocked(int list);

    platform::FileSystem& m_fs;
    const Deliver m_deliver;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<Job> m_waiting;          // in ticket order, at most one per list
    std::vector<std::uint64_t> m_latest; // per list: the ticket whose result is wanted, 0 none
    std::uint64_t m_lastTicket = 0;
    int m_runningList = -1;
    // Polled by the running decode; cleared, under the lock, as each decode starts.
    std::atomic<bool> m_stopRunning = false;
    bool m_closing = false;
    std::thread m_thread; // last: starts once everything above is made
};

} // namespace tess::workspace
