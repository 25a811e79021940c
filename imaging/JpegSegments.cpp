#include "imaging/JpegSegments.h"

#include <algorithm>

namespace tess::imaging {

void forEachJpegSegment(const std::vector<std::uint8_t>& jpeg,
                        const std::function<bool(const JpegSegment&)>& visit) {
    const std::size_t size = jpeg.size();
    if (size < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) {
        return;
    }
    std::size_t pos = 2;
    while (pos + 2 <= size) {
        if (jpeg[pos] != 0xFF) {
            return;
        }
        const std::uint8_t marker = jpeg[pos + 1];
        if (marker == 0xFF) {
            ++pos; // fill byte
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) {
            return; // the image data, or the end of the image
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2; // markers without a length
            continue;
        }
        if (pos + 4 > size) {
            return;
        }
        const std::size_t length = std::size_t(jpeg[pos + 2]) << 8 | jpeg[pos + 3];
        if (length < 2) {
            return;
        }
        const std::size_t start = pos + 4;
        // A segment cut short by the end of the file is passed on as far as it goes.
        const std::size_t available = std::min(length - 2, size - start);
        if (!visit({marker, jpeg.data() + start, available, available == length - 2})) {
            return;
        }
        pos = start + (length - 2);
    }
}

} // namespace tess::imaging
