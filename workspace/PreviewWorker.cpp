#include "workspace/PreviewWorker.h"

#include "platform/ThreadPriority.h"
#include "workspace/PreviewPicture.h"

#include <algorithm>

namespace tess::workspace {

PreviewWorker::PreviewWorker(platform::FileSystem& fs, int lists, Deliver deliver)
    : m_fs(fs), m_deliver(std::move(deliver)), m_latest(std::size_t(lists), 0),
      m_thread([this] { work(); }) {}

PreviewWorker::~PreviewWorker() {
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
        m_waiting.clear();
        m_stopRunning = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

std::uint64_t PreviewWorker::request(int list, std::string path) {
    std::uint64_t ticket = 0;
    {
        const std::lock_guard lock(m_mutex);
        dropLocked(list);
        ticket = ++m_lastTicket;
        m_latest[std::size_t(list)] = ticket;
        m_waiting.push_back({list, ticket, std::move(path)});
    }
    m_wake.notify_all();
    return ticket;
}

void PreviewWorker::withdraw(int list) {
    const std::lock_guard lock(m_mutex);
    dropLocked(list);
    m_latest[std::size_t(list)] = 0;
}

void PreviewWorker::dropLocked(int list) {
    std::erase_if(m_waiting, [list](const Job& job) { return job.list == list; });
    if (m_runningList == list)
        m_stopRunning = true;
}

void PreviewWorker::work() {
    // The window's thread comes first when both want the processor.
    platform::lowerCurrentThreadPriority();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_closing || !m_waiting.empty(); });
        if (m_closing)
            return;
        Job job = std::move(m_waiting.front());
        m_waiting.erase(m_waiting.begin());
        m_runningList = job.list;
        m_stopRunning = false;
        lock.unlock();

        Result result{job.list, job.ticket, job.path, {}, nullptr};
        try {
            result.picture = decodePreview(m_fs, job.path, &m_stopRunning);
        } catch (...) {
            result.error = std::current_exception();
        }

        lock.lock();
        m_runningList = -1;
        // A result asked for again meanwhile, or withdrawn, is not wanted any more.
        if (!m_closing && m_latest[std::size_t(job.list)] == job.ticket)
            m_deliver(std::move(result));
    }
}

} // namespace tess::workspace
