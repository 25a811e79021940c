#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Rewriting a file through the file itself, for a folder that takes no new file, so that a
// failure puts the old bytes back and a write cut short (the program killed) leaves what the
// writes were planned to leave.
namespace tess::platform {

// Bytes written at an offset of a file.
struct FilePatch {
    std::size_t offset = 0;
    std::string bytes;
};

// Writes that update a file where it lies, made in this order, and the file's length once they
// are all made.
struct PatchPlan {
    std::size_t size = 0;
    std::vector<FilePatch> writes;
};

// An open file that patches are written to. Each layer gives one over its own calls; tests wrap
// one to make any call fail.
class PatchTarget {
public:
    virtual ~PatchTarget() = default;
    // Takes room on the disk for a file of `size` bytes without changing its length, so a full
    // disk is told before any byte is written. True where the file system cannot do that.
    virtual bool reserve(std::uint64_t size) = 0;
    virtual bool write(std::uint64_t offset, std::string_view bytes) = 0;
    // Puts what was written on the disk.
    virtual bool sync() = 0;
    virtual bool resize(std::uint64_t size) = 0;
};

// Makes the planned writes over a file holding `oldBytes`: room first, then each write followed
// by a sync, and the file cut to its new length only at the end, so it never holds less than the
// old bytes until the new ones are all on the disk. When a call fails, the old bytes of every
// place written are put back and the old length restored; false then.
bool applyPatches(PatchTarget& file, std::string_view oldBytes, const PatchPlan& plan);

} // namespace tess::platform
