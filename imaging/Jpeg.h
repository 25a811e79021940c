#pragma once

#include "imaging/Image.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tess::imaging {

using Bytes = std::vector<std::uint8_t>;

struct JpegInfo {
    int width = 0; // stored size
    int height = 0;
    int components = 0;       // 1 for grey-scale, 3 for colour, 4 for CMYK and YCCK
    bool progressive = false; // more than one scan
};

// The two decoding profiles. SpeedFirst is the preview's: 1/4 scale, fast integer IDCT,
// grey-scale quantised to 236 levels with one pass of ordered dithering. QualityFirst is the
// conversion's: full size, floating-point IDCT, grey-scale quantised to 236 levels with the
// decoder's default quantiser and dithering. Both: fancy upsampling and block smoothing on,
// 24-bit RGB out (CMYK and YCCK files through their CMYK profile, or the plain formula),
// warnings ignored.
enum class DecodeProfile { SpeedFirst, QualityFirst };

// Largest decoded image accepted, in pixels at the profile's scale, and largest image drawn;
// beyond it the decode fails with "Out of memory" before any pixel memory is taken.
inline constexpr std::int64_t kMaxDecodedPixels = 400'000'000;

// The longest side a JPEG file can hold (libjpeg's JPEG_MAX_DIMENSION).
inline constexpr int kMaxJpegSide = 65500;

// A preview (SpeedFirst) stays within kPreviewMemory: the file's bytes, at most
// kMaxPreviewFileSize, and all the decoder takes. It decodes photos of at most kMaxPreviewPixels
// stored pixels (a 100-megapixel camera photo is 11648 x 8736), and a progressive one only when
// its coefficients fit what is left of the memory: every 100-megapixel photo with 4:2:2 or 4:2:0
// colour sampling does, as do 4:4:4 photos of up to about 75 megapixels. Anything more fails at
// once with kPreviewTooLarge, so no file, whatever its header claims, can hold the window for
// longer than the largest photo it accepts.
inline constexpr std::int64_t kPreviewMemory = std::int64_t(512) << 20;
inline constexpr std::size_t kMaxPreviewFileSize = std::size_t(128) << 20;
inline constexpr std::int64_t kMaxPreviewPixels = std::int64_t(128) << 20;
inline constexpr const char* kPreviewTooLarge = "Foto troppo grande per l'anteprima";

// Most scans a file may hold (photos have about ten); a file with more fails with
// kTooManyScans in both profiles instead of being decoded scan after scan.
inline constexpr int kMaxScans = 100;
inline constexpr const char* kTooManyScans = "File JPEG con troppe scansioni";

// What a decode throws when its caller has asked it to stop; never shown, since the caller
// no longer wants the picture.
inline constexpr const char* kDecodeStopped = "Decodifica interrotta";

// Reads the header. Empty data gives a 0 x 0 header (a zero-byte file has no size).
// Throws tess::Error("JPEG error #<n>") with libjpeg's message number.
JpegInfo readJpegHeader(const Bytes& data);

// Decodes the data with the profile and draws it point-sampled (no smoothing) onto one white
// image per requested size, in one pass over the data. Throws tess::Error("JPEG error #<n>"),
// tess::Error("Out of memory") when the decoded size is beyond kMaxDecodedPixels, and the
// errors of the preview's limits and of kMaxScans. When `stop` is given and turns true, the
// decode ends within a band of rows with tess::Error(kDecodeStopped).
std::vector<RgbImage> decodeStretched(const Bytes& data, DecodeProfile profile,
                                      const std::vector<Size>& targets,
                                      const std::atomic<bool>* stop = nullptr);

// The most memory decodeStretched takes for the data and sizes with the QualityFirst profile, in
// bytes, judged from the header alone: the decoder's bands of rows, the coefficients of the
// whole image for a file of several scans, the rows handed to the drawing and the images
// drawn (not the data itself). Data whose header cannot be read gives 0: its decode fails
// before it takes any.
std::int64_t decodeMemory(const Bytes& data, const std::vector<Size>& targets);

// The most memory encodeJpeg takes for an image of the given size, besides the image: the
// coefficients of the whole image for a progressive file, and the encoded data, counted at the
// image's raw size (a photo's JPEG is far smaller) in a buffer up to twice that as it grows.
std::int64_t encodeMemory(Size size, bool progressive);

// Encodes with libjpeg's defaults, the floating-point forward DCT, jpeg_set_quality with the
// low byte of `quality` and baseline-limited tables, the simple progressive script when
// `progressive`, three components always. An Exif orientation of 2 to 8 is written in a
// minimal Exif segment holding only that tag; 0 or 1 writes none. An ICC profile, when given,
// is written as it is in APP2 chunks.
Bytes encodeJpeg(const RgbImage& image, int quality, bool progressive, int exifOrientation = 0,
                 const Bytes& iccProfile = {});

// Encodes a one-component (grey-scale) JPEG with the same settings as encodeJpeg and no Exif.
// Photos like this come from scanners and black-and-white camera modes.
Bytes encodeGreyJpeg(const GreyImage& image, int quality, bool progressive);

} // namespace tess::imaging
