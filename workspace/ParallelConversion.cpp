#include "workspace/ParallelConversion.h"

#include "platform/ThreadPriority.h"

#include <algorithm>
#include <thread>

namespace tess::workspace {

ParallelConversion::ParallelConversion(platform::FileSystem& fs, std::string sourceFolder,
                                       OutputSettings reduced, OutputSettings thumbnail,
                                       std::vector<Row> rows, int workers)
    : m_fs(fs), m_sourceFolder(std::move(sourceFolder)), m_reduced(std::move(reduced)),
      m_thumbnail(std::move(thumbnail)), m_rows(std::move(rows)), m_workers(std::max(1, workers)),
      m_slots(m_rows.size()) {}

ParallelConversion::~ParallelConversion() = default;

void ParallelConversion::stop() {
    const std::lock_guard lock(m_mutex);
    m_stopRequested = true;
    m_changed.notify_all();
}

int ParallelConversion::nextMarkedRow() {
    while (m_nextToTake < int(m_rows.size()) && !m_rows[m_nextToTake].marked)
        ++m_nextToTake;
    return m_nextToTake < int(m_rows.size()) ? m_nextToTake : -1;
}

void ParallelConversion::work() {
    platform::lowerCurrentThreadPriority();
    std::unique_lock lock(m_mutex);
    for (;;) {
        // A photo is taken only while the memory allows one more.
        m_changed.wait(lock, [this] {
            return m_over || m_stopRequested || nextMarkedRow() < 0 || m_held <= m_workers;
        });
        const int row = nextMarkedRow();
        if (m_over || m_stopRequested || row < 0)
            return;
        ++m_nextToTake;
        ++m_held;
        lock.unlock();

        Slot done;
        done.ready = true;
        try {
            done.photo =
                preparePhoto(m_fs, m_rows[row].name, m_sourceFolder, m_reduced, m_thumbnail);
        } catch (...) {
            done.error = std::current_exception();
        }

        lock.lock();
        m_slots[row] = std::move(done);
        m_changed.notify_all();
    }
}

ParallelConversion::Outcome ParallelConversion::run(const std::function<void(int row)>& rowDone) {
    std::vector<std::thread> workers;
    // However the pass ends, the workers stop taking rows and are waited for; what they were
    // preparing is thrown away with the slots.
    struct Ending {
        ParallelConversion& pass;
        std::vector<std::thread>& workers;
        ~Ending() {
            {
                const std::lock_guard lock(pass.m_mutex);
                pass.m_over = true;
                pass.m_changed.notify_all();
            }
            for (std::thread& worker : workers)
                worker.join();
        }
    } ending{*this, workers};
    const int needed =
        int(std::count_if(m_rows.begin(), m_rows.end(), [](const Row& row) { return row.marked; }));
    for (int i = 0; i < std::min(m_workers, needed); ++i)
        workers.emplace_back([this] { work(); });

    Outcome outcome;
    for (int row = 0; row < int(m_rows.size()); ++row) {
        std::optional<ConvertedPhoto> photo;
        {
            std::unique_lock lock(m_mutex);
            if (m_rows[row].marked)
                m_changed.wait(lock, [&] { return m_stopRequested || m_slots[row].ready; });
            if (m_stopRequested) {
                outcome.end = End::Stopped;
                return outcome;
            }
            if (m_rows[row].marked) {
                if (m_slots[row].error) {
                    outcome.end = End::Failed;
                    outcome.error = m_slots[row].error;
                    return outcome;
                }
                photo = std::move(m_slots[row].photo);
                m_slots[row].photo.reset();
            }
        }
        if (photo) {
            try {
                writePhoto(m_fs, m_rows[row].name, m_reduced, m_thumbnail, *photo);
            } catch (...) {
                outcome.end = End::Failed;
                outcome.error = std::current_exception();
                return outcome;
            }
            photo.reset();
            const std::lock_guard lock(m_mutex);
            --m_held;
            m_changed.notify_all();
        }
        ++outcome.rowsDone;
        rowDone(row);
    }
    return outcome;
}

} // namespace tess::workspace
