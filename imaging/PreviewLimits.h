#pragma once

#include <cstddef>

namespace tess::imaging::detail {

struct Decoder;

// Holds a preview to its limits (see kPreviewMemory) before the decoder takes any memory, and
// gives libjpeg what is left of the memory as its own limit. Throws
// tess::Error("<kPreviewTooLarge>: <width> x <height> pixel") for a photo beyond them.
void limitPreview(Decoder& decoder, std::size_t dataSize);

} // namespace tess::imaging::detail
