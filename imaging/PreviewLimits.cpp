#include "imaging/PreviewLimits.h"

#include "imaging/Jpeg.h"
#include "imaging/JpegDecoder.h"
#include "platform/Error.h"

#include <cstdint>
#include <string>

namespace tess::imaging::detail {
namespace {

// What a preview leaves for itself besides the file and the decoder: its rows and images.
constexpr std::int64_t kPreviewWorkingMemory = std::int64_t(16) << 20;

} // namespace

void limitPreview(Decoder& decoder, std::size_t dataSize) {
    jpeg_decompress_struct& info = decoder.info;
    const auto tooLarge = [&info] {
        return Error(std::string(kPreviewTooLarge) + ": " + std::to_string(info.image_width) +
                     " x " + std::to_string(info.image_height) + " pixel");
    };
    const std::int64_t memory = kPreviewMemory - kPreviewWorkingMemory - std::int64_t(dataSize);
    if (std::int64_t(info.image_width) * info.image_height > kMaxPreviewPixels || memory <= 0) {
        throw tooLarge();
    }
    // A file of several scans keeps the coefficients of the whole image.
    bool multiple = false;
    check(hasMultipleScans(&decoder, &multiple), decoder.error);
    if (multiple && coefficientBytes(info) > memory) {
        throw tooLarge();
    }
    info.mem->max_memory_to_use = long(memory);
}

} // namespace tess::imaging::detail
