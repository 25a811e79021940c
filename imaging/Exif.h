#pragma once

#include <cstdint>
#include <vector>

namespace tess::imaging {

// The Exif Orientation tag (1 to 8) of a JPEG file's APP1 Exif segment; 0 when the file has
// none or it cannot be read. Never throws.
int readExifOrientation(const std::vector<std::uint8_t>& jpeg);

// A minimal Exif APP1 payload (starting "Exif\0\0") that holds only the Orientation tag.
std::vector<std::uint8_t> makeOrientationExif(int orientation);

} // namespace tess::imaging
