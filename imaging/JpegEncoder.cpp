#include "imaging/Jpeg.h"

#include "imaging/Exif.h"
#include "imaging/JpegErrors.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include <jerror.h>

namespace tess::imaging {
namespace {

using detail::check;
using detail::ErrorHandler;
using detail::installErrorHandler;
using detail::kLibjpegMemoryLimit;

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

Bytes encodeJpeg(const RgbImage& image, int quality, bool progressive, int exifOrientation,
                 const Bytes& iccProfile) {
    return encodeSamples(image.pixels.data(), image.pixels.size(), image.width, image.height, 3,
                         JCS_RGB, quality, progressive, exifOrientation, iccProfile);
}

std::int64_t encodeMemory(Size size, bool progressive) {
    // libjpeg's tables, the bands of rows it compresses, the Exif and colour profile.
    constexpr std::int64_t kFixedMemory = std::int64_t(2) << 20;
    const std::int64_t width = std::max(size.width, 0);
    const std::int64_t height = std::max(size.height, 0);
    std::int64_t memory = kFixedMemory + 2 * width * height * 3;
    if (progressive) {
        // libjpeg's defaults sample the colour 4:2:0: per 16 x 16 pixels, four luminance
        // blocks and one of each chrominance, 64 coefficients of two bytes each.
        const std::int64_t macroblocks = (width + 15) / 16 * ((height + 15) / 16);
        memory += macroblocks * 6 * DCTSIZE2 * std::int64_t(sizeof(JCOEF));
    }
    return memory;
}

Bytes encodeGreyJpeg(const GreyImage& image, int quality, bool progressive) {
    return encodeSamples(image.levels.data(), image.levels.size(), image.width, image.height, 1,
                         JCS_GRAYSCALE, quality, progressive, 0, {});
}

} // namespace tess::imaging
