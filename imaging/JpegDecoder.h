#pragma once

#include "imaging/JpegErrors.h"

#include <cstdint>

namespace tess::imaging::detail {

// A decompressor over data in memory, released however the decode ends.
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

// Guarded: creates the decoder over the data and reads the header. The decoder stops a file
// whose scans run past kMaxScans.
bool openDecoder(Decoder* decoder, const unsigned char* data, unsigned long size);
// Guarded.
bool hasMultipleScans(Decoder* decoder, bool* multiple);
// The bytes of the coefficients of the whole image, which libjpeg keeps for a file of several
// scans, as it lays them out: each component's blocks rounded up to its sampling factors, 64
// coefficients of two bytes each. Needs the header read.
std::int64_t coefficientBytes(const jpeg_decompress_struct& info);

} // namespace tess::imaging::detail
