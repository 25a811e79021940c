#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace tess::imaging {

// One marker segment of a JPEG file's header: the marker's second byte (0xE1 for APP1) and
// the bytes after the length field.
struct JpegSegment {
    std::uint8_t marker = 0;
    const std::uint8_t* payload = nullptr;
    std::size_t size = 0; // the bytes present, at most what the length field declares
    bool complete = true; // false when the file ends inside the segment
};

// Walks the segments from the start of the file up to the image data, in file order, calling
// `visit` for each until it returns false. Any file at all may come in: the walk stops quietly
// at the first byte that does not make sense. Never throws.
void forEachJpegSegment(const std::vector<std::uint8_t>& jpeg,
                        const std::function<bool(const JpegSegment&)>& visit);

} // namespace tess::imaging
