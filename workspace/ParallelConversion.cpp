#include "workspace/ParallelConversion.h"

#include "platform/PhysicalMemory.h"
#include "platform/ThreadPriority.h"

#include <algorithm>
#include <thread>

namespace tess::workspace {

std::int64_t defaultMemoryBudget() {
    constexpr std::int64_t kLeast = std::int64_t(3) << 30;
    const std::uint64_t quarter = platform::physicalMemory() / 4;
    return std::max<std::int64_t>(
        kLeast, std::int64_t(std::min<std::uint64_t>(quarter, std::uint64_t(INT64_MAX))));
}

ParallelConversion::ParallelConversion(platform::FileSystem& fs, std::string sourceFolder,
                                       OutputSettings reduced, OutputSettings thumbnail,
                                       std::vector<Row> rows, int workers,
                                       std::int64_t memoryBudget)
    : m_fs(fs), m_sourceFolder(std::move(sourceFolder)), m_reduced(std::move(reduced)),
      m_thumbnail(std::move(thumbnail)), m_rows(std::move(rows)), m_workers(std::max(1, workers)),
      m_budget(memoryBudget), m_slots(m_rows.size()) {}

ParallelConversion::~ParallelConversion() = default;

void ParallelConversion::stop() {
    const std::lock_guard lock(m_mutex);
    m_stopRequested = true;
    m_changed.notify_all();
}

void ParallelConversion::hold() {
    std::unique_lock lock(m_mutex);
    m_holding = true;
    m_changed.wait(lock, [this] { return !m_writing; });
}

void ParallelConversion::resume() {
    const std::lock_guard lock(m_mutex);
    m_holding = false;
    m_changed.notify_all();
}

int ParallelConversion::nextMarkedRow(int from) const {
    while (from < int(m_rows.size()) && !m_rows[from].marked)
        ++from;
    return from < int(m_rows.size()) ? from : -1;
}

void ParallelConversion::work() {
    platform::lowerCurrentThreadPriority();
    std::unique_lock lock(m_mutex);
    for (;;) {
        // A photo is taken only while the count allows one more.
        m_changed.wait(lock, [this] {
            return ended() || nextMarkedRow(m_nextToTake) < 0 || m_held <= m_workers;
        });
        const int row = nextMarkedRow(m_nextToTake);
        if (ended() || row < 0)
            return;
        m_nextToTake = row + 1;
        ++m_held;
        if (!convert(lock, row))
            return;
    }
}

bool ParallelConversion::convert(std::unique_lock<std::mutex>& lock, int row) {
    const std::string& name = m_rows[row].name;
    lock.unlock();
    Slot done;
    done.ready = true;
    std::optional<Original> original;
    std::int64_t memory = 0;
    try {
        original = readOriginal(m_fs, name, m_sourceFolder, m_reduced);
        memory = conversionMemory(*original, m_reduced, m_thumbnail);
    } catch (...) {
        done.error = std::current_exception();
    }
    lock.lock();
    if (!admit(lock, row, memory, original))
        return false;
    lock.unlock();

    if (!done.error) {
        try {
            if (!original) {
                // Let go while the photo waited for room: read again, and counted anew.
                original = readOriginal(m_fs, name, m_sourceFolder, m_reduced);
                const std::int64_t again = conversionMemory(*original, m_reduced, m_thumbnail);
                const std::lock_guard relock(m_mutex);
                m_memoryHeld += again - memory;
                m_peakMemory = std::max(m_peakMemory, m_memoryHeld);
                memory = again;
            }
            done.photo = convertOriginal(*original, m_reduced, m_thumbnail);
            done.memory = std::int64_t(done.photo->reduced.size() + done.photo->thumbnail.size());
        } catch (...) {
            done.error = std::current_exception();
        }
    }
    original.reset();

    lock.lock();
    m_memoryHeld += done.memory - memory;
    m_peakMemory = std::max(m_peakMemory, m_memoryHeld);
    m_slots[row] = std::move(done);
    m_changed.notify_all();
    if (m_photoReady) {
        lock.unlock();
        m_photoReady(row);
        lock.lock();
    }
    return true;
}

bool ParallelConversion::admit(std::unique_lock<std::mutex>& lock, int row, std::int64_t memory,
                               std::optional<Original>& original) {
    const auto fits = [&] { return m_memoryHeld == 0 || m_memoryHeld + memory <= m_budget; };
    for (;;) {
        if (ended())
            return false;
        // In row order, so the row the writer waits for is never kept out by later ones: when
        // it is the next to admit, every photo held is of a row before it, and gets written.
        if (row == m_nextToAdmit && fits())
            break;
        if (original && !fits())
            original.reset();
        m_changed.wait(lock);
    }
    m_memoryHeld += memory;
    m_peakMemory = std::max(m_peakMemory, m_memoryHeld);
    const int next = nextMarkedRow(row + 1);
    m_nextToAdmit = next < 0 ? int(m_rows.size()) : next;
    m_changed.notify_all();
    return true;
}

ParallelConversion::Outcome ParallelConversion::run(const std::function<void(int row)>& rowDone) {
    Outcome outcome;
    {
        std::vector<std::thread> workers;
        // However the pass ends, the workers stop taking rows and are waited for; what they
        // were preparing is thrown away with the slots.
        struct Ending {
            ParallelConversion& pass;
            std::vector<std::thread>& workers;
            ~Ending() {
                {
                    const std::lock_guard lock(pass.m_mutex);
                    pass.m_over = true;
                    pass.m_writing = false;
                    pass.m_changed.notify_all();
                }
                for (std::thread& worker : workers)
                    worker.join();
            }
        } ending{*this, workers};
        {
            const std::lock_guard lock(m_mutex);
            m_nextToAdmit = std::max(0, nextMarkedRow(0));
        }
        const int needed = int(
            std::count_if(m_rows.begin(), m_rows.end(), [](const Row& row) { return row.marked; }));
        for (int i = 0; i < std::min(m_workers, needed); ++i)
            workers.emplace_back([this] { work(); });
        outcome = writeRows(rowDone);
    }
    outcome.peakMemory = m_peakMemory;
    return outcome;
}

ParallelConversion::Outcome
ParallelConversion::writeRows(const std::function<void(int row)>& rowDone) {
    Outcome outcome;
    for (int row = 0; row < int(m_rows.size()); ++row) {
        std::optional<ConvertedPhoto> photo;
        std::int64_t memory = 0;
        {
            std::unique_lock lock(m_mutex);
            // Nothing is written while the pass is held, and a stop asked meanwhile ends it
            // before the next row.
            m_changed.wait(lock, [&] {
                return m_stopRequested ||
                       (!m_holding && (!m_rows[row].marked || m_slots[row].ready));
            });
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
                memory = m_slots[row].memory;
                m_slots[row].photo.reset();
                m_writing = true;
            }
        }
        if (photo) {
            try {
                writePhoto(m_fs, m_rows[row].name, m_reduced, m_thumbnail, *photo);
            } catch (...) {
                outcome.end = End::Failed;
                outcome.error = std::current_exception();
                return outcome; // the ending clears the writing
            }
            photo.reset();
            const std::lock_guard lock(m_mutex);
            m_writing = false;
            --m_held;
            m_memoryHeld -= memory;
            m_changed.notify_all();
        }
        ++outcome.rowsDone;
        rowDone(row);
    }
    return outcome;
}

} // namespace tess::workspace
