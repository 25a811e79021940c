#pragma once

#include "workspace/Conversion.h"

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tess::workspace {

// A conversion pass over the originals list with the decoding and encoding spread over worker
// threads. What the user sees is what a pass of convertToReducedAndThumbnail calls row by row would
// give: the outputs are written in row order by the thread that runs the pass, the first failing
// row ends it with the outputs of the rows before it on disk and none of the rows after it (work
// done ahead for later rows is thrown away), and each finished row is reported in order.
// At most (workers + 1) photos are held in memory at once: one per worker, and the one being
// written.
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
    };

    ParallelConversion(platform::FileSystem& fs, std::string sourceFolder, OutputSettings reduced,
                       OutputSettings thumbnail, std::vector<Row> rows, int workers);
    ~ParallelConversion();
    ParallelConversion(const ParallelConversion&) = delete;
    ParallelConversion& operator=(const ParallelConversion&) = delete;

    // Runs the pass once on the calling thread, which writes the outputs; the workers start
    // and end inside. rowDone(index) is called on the calling thread after each row is
    // finished (its outputs written, or passed over when it is not marked), in row order.
    Outcome run(const std::function<void(int row)>& rowDone);

    // Asks the pass to end, from any thread: the row being written is finished, no other row
    // is started, and run() returns End::Stopped. A pass that has already finished is left as
    // it ended.
    void stop();


private:
    struct Slot {
        bool ready = false;
        std::optional<ConvertedPhoto> photo;
        std::exception_ptr error;
    };

    void work();
    // The next marked row no worker has taken, or -1. Called with the lock held.
    int nextMarkedRow();

    platform::FileSystem& m_fs;
    const std::string m_sourceFolder;
    const OutputSettings m_reduced;
    const OutputSettings m_thumbnail;
    const std::vector<Row> m_rows;
    const int m_workers;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Slot> m_slots;
    int m_nextToTake = 0;
    int m_held = 0; // photos taken by a worker and not yet written
    bool m_stopRequested = false;
    bool m_over = false; // the writer has ended: workers take nothing more
};

} // namespace tess::workspace
