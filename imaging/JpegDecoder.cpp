#include "imaging/JpegDecoder.h"

#include "imaging/CmykColour.h"
#include "imaging/IccProfile.h"
#include "imaging/Jpeg.h"
#include "imaging/PointSampler.h"
#include "imaging/PreviewLimits.h"
#include "platform/Error.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>

namespace tess::imaging {

namespace detail {
namespace {

// libjpeg's progress hook, called as it works through the data, every band of rows: stops a
// file whose scans run past kMaxScans (each scan of a progressive file goes over the whole
// image again), and a decode its caller no longer wants.
void watchProgress(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    auto* handler = reinterpret_cast<ErrorHandler*>(info->err);
    if (decompress->input_scan_number > kMaxScans) {
        handler->tooManyScans = true;
        std::longjmp(handler->jump, 1);
    }
    if (handler->stop != nullptr && handler->stop->load(std::memory_order_relaxed)) {
        handler->stopped = true;
        std::longjmp(handler->jump, 1);
    }
}

} // namespace

bool openDecoder(Decoder* decoder, const unsigned char* data, unsigned long size) {
    if (setjmp(decoder->error.jump)) {
        return false;
    }
    installErrorHandler(&decoder->error, reinterpret_cast<j_common_ptr>(&decoder->info));
    // The object is zeroed, so destroying it is safe even if creation fails half-way.
    decoder->created = true;
    jpeg_create_decompress(&decoder->info);
    decoder->info.mem->max_memory_to_use = kLibjpegMemoryLimit;
    decoder->progress.progress_monitor = watchProgress;
    decoder->info.progress = &decoder->progress;
    jpeg_mem_src(&decoder->info, data, size);
    jpeg_read_header(&decoder->info, TRUE);
    return true;
}

bool hasMultipleScans(Decoder* decoder, bool* multiple) {
    if (setjmp(decoder->error.jump)) {
        return false;
    }
    *multiple = jpeg_has_multiple_scans(&decoder->info);
    return true;
}

std::int64_t coefficientBytes(const jpeg_decompress_struct& info) {
    const auto roundUp = [](std::int64_t value, std::int64_t step) {
        return (value + step - 1) / step * step;
    };
    std::int64_t coefficients = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        coefficients += roundUp(component.width_in_blocks, component.h_samp_factor) *
                        roundUp(component.height_in_blocks, component.v_samp_factor) * DCTSIZE2;
    }
    return coefficients * std::int64_t(sizeof(JCOEF));
}

} // namespace detail

namespace {

using detail::check;
using detail::Decoder;

// Rows asked of the decoder per call; a few calls per band of blocks keep the call overhead
// out of the picture while the buffer stays in the cache.
constexpr int kScanlineChunk = 16;

// Guarded.
bool startDecoder(Decoder* decoder) {
    if (setjmp(decoder->error.jump)) {
        return false;
    }
    jpeg_start_decompress(&decoder->info);
    return true;
}

bool isCmyk(const jpeg_decompress_struct& info) {
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

void configure(jpeg_decompress_struct& info, DecodeProfile profile) {
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    info.do_fancy_upsampling = TRUE;
    info.do_block_smoothing = TRUE;
    if (profile == DecodeProfile::SpeedFirst) {
        info.scale_num = 1;
        info.scale_denom = 4;
        info.dct_method = JDCT_IFAST;
    } else {
        info.scale_num = 1;
        info.scale_denom = 1;
        info.dct_method = JDCT_FLOAT;
    }
    if (grey) {
        // Grey-scale photos go through a 236-level palette, as a 256-colour display would
        // show them, and come back as grey levels.
        info.out_color_space = JCS_GRAYSCALE;
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = 236;
        if (profile == DecodeProfile::SpeedFirst) {
            info.two_pass_quantize = FALSE;
            info.dither_mode = JDITHER_ORDERED;
        }
    } else if (isCmyk(info)) {
        // libjpeg gives CMYK (and turns YCCK into it) but not RGB; the rows are turned into
        // RGB on their way to the sampling.
        info.out_color_space = JCS_CMYK;
    } else {
        info.out_color_space = JCS_RGB;
    }
}

// What the decoding loop hands its rows to. Plain data only: it lives across the guarded loop.
struct RowSink {
    JSAMPROW* chunkRows;
    int chunkSize;
    detail::PointSampler* sampler;
    detail::CmykRows* cmyk;         // turns CMYK rows into RGB; null for other rows
    const std::uint8_t* greyLevels; // palette index to grey level; null for colour rows
};

// Guarded: reads every row (rows no output takes still go through the decoder, which keeps
// the decoder's state and dithering as a full decode has them) and finishes.
bool decodeRows(Decoder* decoder, const RowSink* sink) {
    if (setjmp(decoder->error.jump)) {
        return false;
    }
    jpeg_decompress_struct* info = &decoder->info;
    while (info->output_scanline < info->output_height) {
        const JDIMENSION first = info->output_scanline;
        const JDIMENSION read = jpeg_read_scanlines(info, sink->chunkRows, sink->chunkSize);
        if (read == 0) {
            return true; // cannot happen with data in memory; never spin
        }
        for (JDIMENSION i = 0; i < read; ++i) {
            const std::int64_t y = std::int64_t(first) + i;
            const std::uint8_t* row = sink->chunkRows[i];
            if (sink->cmyk != nullptr) {
                // Only the rows an output takes are worth the colour conversion.
                if (!sink->sampler->takes(y)) {
                    continue;
                }
                row = sink->cmyk->convert(row);
            }
            sink->sampler->take(y, row, sink->greyLevels);
        }
    }
    jpeg_finish_decompress(info);
    return true;
}

// The size the profile decodes to (for SpeedFirst each side divided by 4, rounded up, as
// libjpeg's 1/4 scale does).
Size decodedSize(const jpeg_decompress_struct& info, DecodeProfile profile) {
    const int width = int(info.image_width);
    const int height = int(info.image_height);
    if (profile == DecodeProfile::SpeedFirst) {
        return {(width + 3) / 4, (height + 3) / 4};
    }
    return {width, height};
}

// Throws "Out of memory" before any pixel memory is taken for a decode beyond
// kMaxDecodedPixels. The images drawn count as much as the one decoded: a box of 65500 x 65500
// would ask for gigabytes however small the photo.
void refuseHugeImages(const jpeg_decompress_struct& info, DecodeProfile profile,
                      const std::vector<Size>& targets) {
    const auto tooLarge = [](Size size) {
        return std::int64_t(size.width) * size.height > kMaxDecodedPixels;
    };
    if (tooLarge(decodedSize(info, profile)) ||
        std::any_of(targets.begin(), targets.end(), tooLarge)) {
        throw Error("Out of memory");
    }
}

// The grey level of each palette index of a grey-scale photo's rows.
std::array<std::uint8_t, 256> greyLevels(const jpeg_decompress_struct& info) {
    std::array<std::uint8_t, 256> levels{};
    for (int i = 0; i < info.actual_number_of_colors && i < 256; ++i) {
        levels[std::size_t(i)] = info.colormap[0][i];
    }
    return levels;
}

// The rows one call of the decoder fills, padded for the sampling's word reads.
struct ScanlineChunk {
    explicit ScanlineChunk(const jpeg_decompress_struct& info)
        : stride(std::size_t(info.output_width) * info.output_components),
          bytes(stride * kScanlineChunk + detail::kRowPadding) {
        for (int i = 0; i < kScanlineChunk; ++i) {
            rows[i] = bytes.data() + stride * i;
        }
    }

    std::size_t stride;
    std::vector<std::uint8_t> bytes;
    JSAMPROW rows[kScanlineChunk];
};

std::vector<RgbImage> decodeStretchedUnguarded(const Bytes& data, DecodeProfile profile,
                                               const std::vector<Size>& targets,
                                               const std::atomic<bool>* stop) {
    Decoder decoder;
    decoder.error.stop = stop;
    check(detail::openDecoder(&decoder, data.data(), data.size()), decoder.error);
    jpeg_decompress_struct& info = decoder.info;
    if (profile == DecodeProfile::SpeedFirst) {
        detail::limitPreview(decoder, data.size());
    }
    refuseHugeImages(info, profile, targets);
    configure(info, profile);
    std::optional<CmykToRgb> cmyk;
    if (isCmyk(info)) {
        cmyk.emplace(readIccProfile(data));
    }
    check(startDecoder(&decoder), decoder.error);

    // CMYK rows reach the sampling as RGB.
    detail::PointSampler sampler(targets, int(info.output_width), int(info.output_height),
                                 cmyk ? 3 : info.output_components);
    std::optional<detail::CmykRows> cmykRows;
    if (cmyk) {
        cmykRows.emplace(*cmyk, sampler.takenColumns(), int(info.output_width));
    }
    const std::array<std::uint8_t, 256> levels = greyLevels(info);
    ScanlineChunk chunk(info);
    const RowSink sink{chunk.rows, kScanlineChunk, &sampler, cmykRows ? &*cmykRows : nullptr,
                       info.quantize_colors ? levels.data() : nullptr};
    check(decodeRows(&decoder, &sink), decoder.error);
    return std::move(sampler).images();
}

} // namespace

JpegInfo readJpegHeader(const Bytes& data) {
    if (data.empty()) {
        return {};
    }
    Decoder decoder;
    check(detail::openDecoder(&decoder, data.data(), data.size()), decoder.error);
    bool multiple = false;
    check(detail::hasMultipleScans(&decoder, &multiple), decoder.error);
    return {int(decoder.info.image_width), int(decoder.info.image_height),
            decoder.info.num_components, multiple};
}

std::int64_t decodeMemory(const Bytes& data, const std::vector<Size>& targets) {
    // libjpeg's tables, the colour profile's transform of a CMYK photo and the like.
    constexpr std::int64_t kFixedMemory = std::int64_t(4) << 20;
    // The bands of rows libjpeg keeps of every component while it decodes, upsamples and
    // converts the colours (a band is 8 rows times the component's vertical sampling), counted
    // generously, and the rows handed to the drawing.
    constexpr std::int64_t kDecoderBands = 4;
    Decoder decoder;
    bool multiple = false;
    if (data.empty() || !detail::openDecoder(&decoder, data.data(), data.size()) ||
        !detail::hasMultipleScans(&decoder, &multiple)) {
        return 0;
    }
    const jpeg_decompress_struct& info = decoder.info;
    int tallestBand = 1;
    for (int c = 0; c < info.num_components; ++c)
        tallestBand = std::max(tallestBand, info.comp_info[c].v_samp_factor * DCTSIZE);
    const std::int64_t rowBytes = std::int64_t(info.image_width) * std::max(info.num_components, 3);
    std::int64_t memory = kFixedMemory + rowBytes * (tallestBand * kDecoderBands + kScanlineChunk);
    if (multiple)
        memory += detail::coefficientBytes(info);
    for (const Size& target : targets) {
        // The image, and the source column of each of its columns.
        memory += std::int64_t(std::max(target.width, 0)) * std::max(target.height, 0) * 3 +
                  std::int64_t(std::max(target.width, 0)) * 4;
    }
    return memory;
}

std::vector<RgbImage> decodeStretched(const Bytes& data, DecodeProfile profile,
                                      const std::vector<Size>& targets,
                                      const std::atomic<bool>* stop) {
    try {
        return decodeStretchedUnguarded(data, profile, targets, stop);
    } catch (const std::bad_alloc&) {
        throw Error("Out of memory");
    }
}

} // namespace tess::imaging
