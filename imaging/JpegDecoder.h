#pragma once

#include "imaging/JpegErrors.h"

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

} // namespace tess::imaging::detail
