#include "imaging/Jpeg.h"

#include "imaging/CmykColour.h"
#include "imaging/Exif.h"
#include "imaging/IccProfile.h"
#include "platform/Error.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports a fatal error by calling error_exit, which must not return. Ours jumps back
// with longjmp to the function that called libjpeg, and the error is thrown from there: a C++
// exception must never travel through libjpeg's C frames. The functions that hold a setjmp
// (the "guarded" ones below) therefore keep only plain data in their frames, since longjmp
// skips destructors, and return false on failure, libjpeg's message number being left in
// the error manager. The
// libjpeg objects live in holders owned by the C++ callers, whose destructors release them on
// every path.

namespace tess::imaging {

namespace {

// Beyond this libjpeg refuses to grow its whole-image buffers (a progressive photo keeps all
// its coefficients), so a huge photo fails with a JPEG error instead of eating the machine.
constexpr long kLibjpegMemoryLimit = long(std::min<std::int64_t>(std::int64_t(2) << 30, LONG_MAX));

// Rows asked of the decoder per call; a few calls per band of blocks keep the call overhead
// out of the picture while the buffer stays in the cache.
constexpr int kScanlineChunk = 16;

// Bytes after the last row of the chunk, for the sampling's word reads.
constexpr std::size_t kRowPadding = 4;

struct ErrorHandler {
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
    bool tooManyScans; // the jump came from the scan limit, not from libjpeg
};

void jumpOnError(j_common_ptr info) {
    auto* handler = reinterpret_cast<ErrorHandler*>(info->err);
    std::longjmp(handler->jump, 1);
}

// Warnings (a truncated file, say) are not shown: the decoder goes on as libjpeg does.
void ignoreMessage(j_common_ptr) {}

void installErrorHandler(ErrorHandler* handler, j_common_ptr info) {
    info->err = jpeg_std_error(&handler->manager);
    handler->manager.error_exit = jumpOnError;
    handler->manager.output_message = ignoreMessage;
}

// Throws the error a guarded call reported by returning false.
void check(bool succeeded, const ErrorHandler& handler) {
    if (handler.tooManyScans) {
        throw Error(kTooManyScans);
    }
    if (!succeeded) {
        throw Error("JPEG error #" + std::to_string(handler.manager.msg_code));
    }
}

// libjpeg's progress hook, called as it works through the data: stops a file whose scans run
// past kMaxScans. Each scan of a progressive file goes over the whole image again.
void limitScans(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) {
        auto* handler = reinterpret_cast<ErrorHandler*>(info->err);
        handler->tooManyScans = true;
        std::longjmp(handler->jump, 1);
    }
}

struct Decoder {
    jpeg_decompress_struct info{};
    ErrorHandler error{};
    jpeg_progress_mgr progress{};
    bool created = false;

    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    ~Decoder() {
        if (created) {
            jpeg_destroy_decompress(&info);
        }
    }
};

// Guarded: creates the decoder over the data and reads the header.
bool openDecoder(Decoder* decoder, const unsigned char* data, unsigned long size) {
    if (setjmp(decoder->error.jump)) {
        return false;
    }
    installErrorHandler(&decoder->error, reinterpret_cast<j_common_ptr>(&decoder->info));
    // The object is zeroed, so destroying it is safe even if creation fails half-way.
    decoder->created = true;
    jpeg_create_decompress(&decoder->info);
    decoder->info.mem->max_memory_to_use = kLibjpegMemoryLimit;
    decoder->progress.progress_monitor = limitScans;
    decoder->info.progress = &decoder->progress;
    jpeg_mem_src(&decoder->info, data, size);
    jpeg_read_header(&decoder->info, TRUE);
    return true;
}

// Guarded.
bool hasMultipleScans(Decoder* decoder, bool* multiple) {
    if (setjmp(decoder->error.jump)) {
        return false;
    }
    *multiple = jpeg_has_multiple_scans(&decoder->info);
    return true;
}

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

// One requested output while the source streams past. Plain data only: it lives across the
// guarded decoding loop.
struct SampledTarget {
    std::uint8_t* pixels;
    int width;
    int height;
    const std::uint32_t* sourceOffsets; // byte offset in a source row, per output column
    std::int64_t sourceHeight;
    int nextRow;             // next output row to fill
    std::int64_t nextSource; // the source row it takes
};

// CMYK rows on their way to the sampling. Only the columns some output takes are worth the
// colour conversion: they are gathered, converted together and put back in place in an RGB
// row of the source's width.
struct CmykColumns {
    const CmykToRgb* converter;
    const std::uint32_t* columns; // the source columns taken, in order
    int count;
    std::uint8_t* cmyk; // count pixels of 4 bytes
    std::uint8_t* rgb;  // count pixels of 3 bytes
    std::uint8_t* row;  // the RGB row, padded as the sampling needs
};

// The source columns some output takes, each once and in order, from the outputs' byte offsets
// in an RGB row.
std::vector<std::uint32_t> takenColumns(const std::vector<std::vector<std::uint32_t>>& offsets) {
    std::vector<std::uint32_t> columns;
    for (const auto& targetOffsets : offsets) {
        for (const std::uint32_t offset : targetOffsets) {
            columns.push_back(offset / 3);
        }
    }
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    return columns;
}

const std::uint8_t* convertTakenColumns(const CmykColumns* cmyk, const std::uint8_t* source) {
    for (int i = 0; i < cmyk->count; ++i) {
        std::memcpy(cmyk->cmyk + 4 * std::size_t(i), source + 4 * std::size_t(cmyk->columns[i]), 4);
    }
    cmyk->converter->convertRow(cmyk->cmyk, cmyk->rgb, cmyk->count);
    for (int i = 0; i < cmyk->count; ++i) {
        std::memcpy(cmyk->row + 3 * std::size_t(cmyk->columns[i]), cmyk->rgb + 3 * std::size_t(i),
                    3);
    }
    return cmyk->row;
}

struct SamplingPlan {
    SampledTarget* targets;
    int targetCount;
    JSAMPROW* chunkRows;
    int chunkSize;
    const std::uint8_t* greyLevels; // palette index to grey level; null for colour rows
};

// Point sampling picks, for output pixel d of n, the source pixel under its centre:
// floor((d + 1/2) * size / n), in integers as ((2d + 1) * size) / (2n). Rows and columns are
// dropped or repeated whole, never blended, and 64 bits keep large photos from overflowing.
std::int64_t sampledSource(std::int64_t destination, std::int64_t sourceSize,
                           std::int64_t destinationSize) {
    return ((2 * destination + 1) * sourceSize) / (2 * destinationSize);
}

// Each pixel moves as one 4-byte word whose fourth byte is overwritten by the next pixel;
// the last pixel of the row goes byte by byte. The source rows are padded for the word read.
void sampleColourRow(const std::uint8_t* source, const std::uint32_t* offsets, int width,
                     std::uint8_t* out) {
    const int last = width - 1;
    for (int x = 0; x < last; ++x) {
        std::uint32_t word;
        std::memcpy(&word, source + offsets[x], 4);
        std::memcpy(out, &word, 4);
        out += 3;
    }
    const std::uint8_t* pixel = source + offsets[last];
    out[0] = pixel[0];
    out[1] = pixel[1];
    out[2] = pixel[2];
}

void sampleGreyRow(const std::uint8_t* source, const std::uint32_t* offsets, int width,
                   const std::uint8_t* levels, std::uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        const std::uint8_t level = levels[source[offsets[x]]];
        out[0] = level;
        out[1] = level;
        out[2] = level;
        out += 3;
    }
}

bool rowTaken(const SamplingPlan* plan, std::int64_t y) {
    for (int t = 0; t < plan->targetCount; ++t) {
        const SampledTarget& target = plan->targets[t];
        if (target.nextRow < target.height && target.nextSource == y) {
            return true;
        }
    }
    return false;
}

void takeSourceRow(const SamplingPlan* plan, std::int64_t y, const std::uint8_t* row) {
    for (int t = 0; t < plan->targetCount; ++t) {
        SampledTarget& target = plan->targets[t];
        const std::size_t stride = std::size_t(target.width) * 3;
        bool first = true;
        while (target.nextRow < target.height && target.nextSource == y) {
            std::uint8_t* out = target.pixels + stride * target.nextRow;
            if (!first) {
                // An enlarged photo repeats the row it has just drawn.
                std::memcpy(out, out - stride, stride);
            } else if (plan->greyLevels != nullptr) {
                sampleGreyRow(row, target.sourceOffsets, target.width, plan->greyLevels, out);
            } else {
                sampleColourRow(row, target.sourceOffsets, target.width, out);
            }
            first = false;
            ++target.nextRow;
            target.nextSource = sampledSource(target.nextRow, target.sourceHeight, target.height);
        }
    }
}

// Guarded: reads every row (rows no output takes still go through the decoder, which keeps
// the decoder's state and dithering as a full decode has them) and finishes. With `cmyk` the
// rows are CMYK and are turned into RGB first.
bool decodeRows(Decoder* decoder, const SamplingPlan* plan, const CmykColumns* cmyk) {
    if (setjmp(decoder->error.jump)) {
        return false;
    }
    jpeg_decompress_struct* info = &decoder->info;
    while (info->output_scanline < info->output_height) {
        const JDIMENSION first = info->output_scanline;
        const JDIMENSION read = jpeg_read_scanlines(info, plan->chunkRows, plan->chunkSize);
        if (read == 0) {
            return true; // cannot happen with data in memory; never spin
        }
        for (JDIMENSION i = 0; i < read; ++i) {
            const std::int64_t y = std::int64_t(first) + i;
            const std::uint8_t* row = plan->chunkRows[i];
            if (cmyk != nullptr) {
                // Only the rows an output takes are worth the colour conversion.
                if (!rowTaken(plan, y)) {
                    continue;
                }
                row = convertTakenColumns(cmyk, row);
            }
            takeSourceRow(plan, y, row);
        }
    }
    jpeg_finish_decompress(info);
    return true;
}

// What a preview leaves for itself besides the file and the decoder: its rows and images.
constexpr std::int64_t kPreviewWorkingMemory = std::int64_t(16) << 20;

// Holds a preview to its limits (see kPreviewMemory) before the decoder takes any memory, and
// gives libjpeg what is left of the memory as its own limit.
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

std::vector<RgbImage> decodeStretchedUnguarded(const Bytes& data, DecodeProfile profile,
                                               const std::vector<Size>& targets) {
    Decoder decoder;
    check(openDecoder(&decoder, data.data(), data.size()), decoder.error);
    jpeg_decompress_struct& info = decoder.info;
    if (profile == DecodeProfile::SpeedFirst) {
        limitPreview(decoder, data.size());
    }

    const JpegInfo header{int(info.image_width), int(info.image_height), info.num_components,
                          false};
    const Size decoded = decodedSize(header, profile);
    // The images drawn count as much as the one decoded: a box of 65500 x 65500 would ask for
    // gigabytes however small the photo.
    const auto tooLarge = [](Size size) {
        return std::int64_t(size.width) * size.height > kMaxDecodedPixels;
    };
    if (tooLarge(decoded) || std::any_of(targets.begin(), targets.end(), tooLarge)) {
        throw Error("Out of memory");
    }
    configure(info, profile);
    std::optional<CmykToRgb> cmyk;
    if (isCmyk(info)) {
        cmyk.emplace(readIccProfile(data));
    }
    check(startDecoder(&decoder), decoder.error);

    const int sourceWidth = int(info.output_width);
    const int sourceHeight = int(info.output_height);
    // The components of the rows the sampling sees: CMYK rows reach it as RGB.
    const int components = cmyk ? 3 : info.output_components;

    std::uint8_t greyLevels[256] = {};
    const bool grey = info.quantize_colors;
    if (grey) {
        for (int i = 0; i < info.actual_number_of_colors && i < 256; ++i) {
            greyLevels[i] = info.colormap[0][i];
        }
    }

    std::vector<RgbImage> images;
    images.reserve(targets.size());
    std::vector<std::vector<std::uint32_t>> offsets(targets.size());
    std::vector<SampledTarget> sampled;
    for (std::size_t t = 0; t < targets.size(); ++t) {
        const int width = std::max(targets[t].width, 0);
        const int height = std::max(targets[t].height, 0);
        images.emplace_back(width, height);
        if (width == 0 || height == 0) {
            continue; // nothing to draw on
        }
        offsets[t].resize(std::size_t(width));
        for (int x = 0; x < width; ++x) {
            offsets[t][x] = std::uint32_t(sampledSource(x, sourceWidth, width) * components);
        }
        sampled.push_back({images.back().pixels.data(), width, height, offsets[t].data(),
                           sourceHeight, 0, sampledSource(0, sourceHeight, height)});
    }

    const std::size_t stride = std::size_t(sourceWidth) * info.output_components;
    std::vector<std::uint8_t> chunk(stride * kScanlineChunk + kRowPadding);
    const std::vector<std::uint32_t> cmykColumns =
        cmyk ? takenColumns(offsets) : std::vector<std::uint32_t>{};
    std::vector<std::uint8_t> cmykPacked(cmykColumns.size() * 4);
    std::vector<std::uint8_t> rgbPacked(cmykColumns.size() * 3);
    std::vector<std::uint8_t> rgbRow(cmyk ? std::size_t(sourceWidth) * 3 + kRowPadding : 0);
    const CmykColumns cmykPlan{cmyk ? &*cmyk : nullptr, cmykColumns.data(), int(cmykColumns.size()),
                               cmykPacked.data(),       rgbPacked.data(),   rgbRow.data()};
    JSAMPROW chunkRows[kScanlineChunk];
    for (int i = 0; i < kScanlineChunk; ++i) {
        chunkRows[i] = chunk.data() + stride * i;
    }
    const SamplingPlan plan{sampled.data(), int(sampled.size()), chunkRows, kScanlineChunk,
                            grey ? greyLevels : nullptr};
    check(decodeRows(&decoder, &plan, cmyk ? &cmykPlan : nullptr), decoder.error);
    return images;
}

struct Encoder {
    jpeg_compress_struct info{};
    ErrorHandler error{};
    bool created = false;

    // The compressed bytes, in memory we grow with realloc: libjpeg's callbacks must not
    // throw, so a std::vector cannot be grown from there.
    jpeg_destination_mgr destination{};
    unsigned char* buffer = nullptr;
    std::size_t capacity = 0;

    Encoder() = default;
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
    ~Encoder() {
        if (created) {
            jpeg_destroy_compress(&info);
        }
        std::free(buffer);
    }
};

Encoder* encoderOf(j_compress_ptr info) {
    return static_cast<Encoder*>(info->client_data);
}

void startDestination(j_compress_ptr info) {
    Encoder* encoder = encoderOf(info);
    encoder->destination.next_output_byte = encoder->buffer;
    encoder->destination.free_in_buffer = encoder->capacity;
}

boolean growDestination(j_compress_ptr info) {
    // Called only when the buffer is full, so all of it holds output.
    Encoder* encoder = encoderOf(info);
    const std::size_t used = encoder->capacity;
    const std::size_t grown = used * 2;
    auto* bigger = static_cast<unsigned char*>(std::realloc(encoder->buffer, grown));
    if (bigger == nullptr) {
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    }
    encoder->buffer = bigger;
    encoder->capacity = grown;
    encoder->destination.next_output_byte = bigger + used;
    encoder->destination.free_in_buffer = grown - used;
    return TRUE;
}

void finishDestination(j_compress_ptr) {}

struct EncodeRequest {
    int width;
    int height;
    int components;
    J_COLOR_SPACE colourSpace;
    JSAMPROW* rows;
    int quality;
    bool progressive;
    const std::uint8_t* exif;
    unsigned exifSize;
    const std::uint8_t* iccProfile;
    unsigned iccProfileSize;
};

// Guarded: compresses the rows into the encoder's buffer.
bool compress(Encoder* encoder, const EncodeRequest* request) {
    if (setjmp(encoder->error.jump)) {
        return false;
    }
    jpeg_compress_struct* info = &encoder->info;
    installErrorHandler(&encoder->error, reinterpret_cast<j_common_ptr>(info));
    info->client_data = encoder; // kept by jpeg_create_compress
    encoder->created = true;
    jpeg_create_compress(info);
    info->mem->max_memory_to_use = kLibjpegMemoryLimit;
    encoder->destination.init_destination = startDestination;
    encoder->destination.empty_output_buffer = growDestination;
    encoder->destination.term_destination = finishDestination;
    info->dest = &encoder->destination;

    info->image_width = JDIMENSION(request->width);
    info->image_height = JDIMENSION(request->height);
    info->input_components = request->components;
    info->in_color_space = request->colourSpace;
    jpeg_set_defaults(info);
    info->dct_method = JDCT_FLOAT;
    jpeg_set_quality(info, request->quality, TRUE);
    if (request->progressive) {
        jpeg_simple_progression(info);
    }
    jpeg_start_compress(info, TRUE);
    if (request->exif != nullptr) {
        jpeg_write_marker(info, JPEG_APP0 + 1, request->exif, request->exifSize);
    }
    if (request->iccProfile != nullptr) {
        // Split into APP2 chunks as the ICC's rules for JPEG ask.
        jpeg_write_icc_profile(info, request->iccProfile, request->iccProfileSize);
    }
    jpeg_write_scanlines(info, request->rows, JDIMENSION(request->height));
    jpeg_finish_compress(info);
    return true;
}

Bytes encodeSamples(const std::uint8_t* pixels, std::size_t sampleCount, int width, int height,
                    int components, J_COLOR_SPACE colourSpace, int quality, bool progressive,
                    int exifOrientation, const std::vector<std::uint8_t>& iccProfile) {
    std::vector<JSAMPROW> rows(std::size_t(std::max(height, 0)));
    const std::size_t stride = std::size_t(std::max(width, 0)) * components;
    if (sampleCount < stride * rows.size()) {
        throw std::invalid_argument("image smaller than its size says");
    }
    for (std::size_t y = 0; y < rows.size(); ++y) {
        rows[y] = const_cast<JSAMPROW>(pixels + stride * y);
    }
    std::vector<std::uint8_t> exif;
    if (exifOrientation >= 2 && exifOrientation <= 8) {
        exif = makeOrientationExif(exifOrientation);
    }

    Encoder encoder;
    // Room for a typical photo at high quality; the buffer doubles when that is not enough.
    encoder.capacity = std::max<std::size_t>(64 * 1024, stride * rows.size() / 4);
    encoder.buffer = static_cast<unsigned char*>(std::malloc(encoder.capacity));
    if (encoder.buffer == nullptr) {
        throw std::bad_alloc();
    }
    // The quality box is an 8-bit value to the encoder: 300 is 44, -1 is 255.
    const EncodeRequest request{width,
                                height,
                                components,
                                colourSpace,
                                rows.data(),
                                quality & 0xFF,
                                progressive,
                                exif.empty() ? nullptr : exif.data(),
                                unsigned(exif.size()),
                                iccProfile.empty() ? nullptr : iccProfile.data(),
                                unsigned(iccProfile.size())};
    check(compress(&encoder, &request), encoder.error);
    const std::size_t written = encoder.capacity - encoder.destination.free_in_buffer;
    return Bytes(encoder.buffer, encoder.buffer + written);
}

} // namespace

JpegInfo readJpegHeader(const Bytes& data) {
    if (data.empty()) {
        return {};
    }
    Decoder decoder;
    check(openDecoder(&decoder, data.data(), data.size()), decoder.error);
    bool multiple = false;
    check(hasMultipleScans(&decoder, &multiple), decoder.error);
    return {int(decoder.info.image_width), int(decoder.info.image_height),
            decoder.info.num_components, multiple};
}

Size decodedSize(const JpegInfo& info, DecodeProfile profile) {
    if (profile == DecodeProfile::SpeedFirst) {
        // libjpeg's 1/4 scale rounds each side up.
        return {(info.width + 3) / 4, (info.height + 3) / 4};
    }
    return {info.width, info.height};
}

std::vector<RgbImage> decodeStretched(const Bytes& data, DecodeProfile profile,
                                      const std::vector<Size>& targets) {
    try {
        return decodeStretchedUnguarded(data, profile, targets);
    } catch (const std::bad_alloc&) {
        throw Error("Out of memory");
    }
}

Bytes encodeJpeg(const RgbImage& image, int quality, bool progressive, int exifOrientation,
                 const Bytes& iccProfile) {
    return encodeSamples(image.pixels.data(), image.pixels.size(), image.width, image.height, 3,
                         JCS_RGB, quality, progressive, exifOrientation, iccProfile);
}

Bytes encodeGreyJpeg(const GreyImage& image, int quality, bool progressive) {
    return encodeSamples(image.levels.data(), image.levels.size(), image.width, image.height, 1,
                         JCS_GRAYSCALE, quality, progressive, 0, {});
}

} // namespace tess::imaging
