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
    // A file of several scans keeps the coefficients of the whole image, as libjpeg lays them
    // out: each component's blocks rounded up to its sampling factors, 64 coefficients of two
    // bytes each.
    bool multiple = false;
    check(hasMultipleScans(&decoder, &multiple), decoder.error);
    if (multiple) {
        std::int64_t coefficients = 0;
        for (int c = 0; c < info.num_components; ++c) {
            const jpeg_component_info& component = info.comp_info[c];
            const auto roundUp = [](std::int64_t value, std::int64_t step) {
                return (value + step - 1) / step * step;
            };
            coefficients += roundUp(component.width_in_blocks, component.h_samp_factor) *
                            roundUp(component.height_in_blocks, component.v_samp_factor) * 64;
        }
        if (coefficients * std::int64_t(sizeof(JCOEF)) > memory) {
            throw tooLarge();
        }
    }
    info.mem->max_memory_to_use = long(memory);
}

} // namespace tess::imaging::detail
