#pragma once

#include "workspace/Conversion.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tess::workspace {

// The memory the workers of a conversion may take together, in bytes: a quarter of the
// physical memory, and never less than the largest photo the decoder accepts needs (libjpeg
// stops at 2 GiB of its own, and the data, rows and copies come beside it).
std::int64_t defaultMemoryBudget();

// A conversion pass over the originals list with the decoding and encoding spread over worker
// threads. What the user sees is what converting the rows one after the other would give: the
// outputs are written in row order by the thread that runs the pass, the first failing row ends
// it with the outputs of the rows before it on disk and none of the rows after it (work
// done ahead for later rows is thrown away), and each finished row is reported in order.
// Memory is bounded twice. At most (workers + 1) photos are held at once: one per worker, and
// the one being written. And the workers take photos in row order within one memory budget:
// each photo's cost is judged from its header (conversionMemory) before it is decoded, and a
// photo waits until the photos held leave room for it; one bigger than the whole budget runs
// alone. A photo that has to wait for room lets its data go meanwhile and reads it again.
class ParallelConversion {
public:
    // One row of the originals list as the pass sees it.
    struct Row {
        std::string name;
        bool marked = false;
    };

    enum class End { Completed, Stopped, Failed };
    struct Outcome {
        End end = End::Completed;
        int rowsDone = 0;         // rows finished, from the first one
        std::exception_ptr error; // what ended a failed pass
        // The most memory the photos held were counted for at once, in bytes.
        std::int64_t peakMemory = 0;
    };

    ParallelConversion(platform::FileSystem& fs, std::string sourceFolder, OutputSettings reduced,
                       OutputSettings thumbnail, std::vector<Row> rows, int workers,
                       std::int64_t memoryBudget = defaultMemoryBudget());
    ~ParallelConversion();
    ParallelConversion(const ParallelConversion&) = delete;
    ParallelConversion& operator=(const ParallelConversion&) = delete;

    // Runs the pass once on the calling thread, which writes the outputs; the workers start
    // and end inside. rowDone(index) is called on the calling thread after each row is
    // finished (its outputs written, or passed over when it is not marked), in row order.
    Outcome run(const std::function<void(int row)>& rowDone);

    // Asks the pass to end, from any thread: the row being written is finished, no other row
    // is started, and run() returns End::Stopped. A pass that has already finished every row
    // is left as it ended.
    void stop();

    // Holds the pass before its next row, from any thread, for as long as the user is asked
    // whether to stop it: returns once the row being written, if any, is written, and from
    // then on no output is written and no row is reported until resume() or stop(). The
    // workers finish the photos they hold and go on only within the usual bounds.
    void hold();
    void resume();

    // Called on a worker's thread each time a photo is converted in memory (or has failed),
    // before it is written; for watching the workers. Set before run().
    void setPhotoReady(std::function<void(int row)> photoReady) {
        m_photoReady = std::move(photoReady);
    }

private:
    struct Slot {
        bool ready = false;
        std::optional<ConvertedPhoto> photo;
        std::exception_ptr error;
        std::int64_t memory = 0; // what the converted photo holds until it is written
    };

    void work();
    // The writer's loop over the rows.
    Outcome writeRows(const std::function<void(int row)>& rowDone);
    // Reads and converts one row's original into its slot, admitting it within the budget
    // first. False when the pass ended meanwhile. Called with the lock held, returns with it.
    bool convert(std::unique_lock<std::mutex>& lock, int row);
    // Waits for the photo's turn and room in the budget, letting its data go while there is no
    // room; takes the room. False when the pass ended meanwhile.
    bool admit(std::unique_lock<std::mutex>& lock, int row, std::int64_t memory,
               std::optional<Original>& original);
    // The first marked row from `from` on, or -1. Called with the lock held.
    int nextMarkedRow(int from) const;
    bool ended() const { return m_over || m_stopRequested; }

    platform::FileSystem& m_fs;
    const std::string m_sourceFolder;
    const OutputSettings m_reduced;
    const OutputSettings m_thumbnail;
    const std::vector<Row> m_rows;
    const int m_workers;
    const std::int64_t m_budget;
    std::function<void(int row)> m_photoReady;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Slot> m_slots;
    int m_nextToTake = 0;
    int m_nextToAdmit = 0;
    int m_held = 0;                // photos taken by a worker and not yet written
    std::int64_t m_memoryHeld = 0; // what the admitted photos take, until they are written
    std::int64_t m_peakMemory = 0;
    bool m_stopRequested = false;
    bool m_holding = false; // the user is being asked: nothing is written
    bool m_writing = false; // the writer is writing a row's outputs
    bool m_over = false;    // the writer has ended: workers take nothing more
};

} // namespace tess::workspace
