#pragma once

#include "imaging/Image.h"
#include "imaging/Jpeg.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tess::imaging::test {

// A colour picture in four flat quadrants: red top left, green top right, blue bottom left,
// yellow bottom right.
RgbImage quadrants(int width, int height);
inline constexpr std::array<std::array<std::uint8_t, 3>, 4> kQuadrantColours{{
    {220, 30, 30},
    {30, 200, 40},
    {40, 50, 210},
    {230, 220, 40},
}};

// A grey picture of 4 x 4 flat cells of 32 x 32 pixels; cell (cx, cy) has level
// 16 * (cx + 4 * cy).
GreyImage greyCells();
int greyCellLevel(int cx, int cy);

// Smooth colour gradients with a little texture, like a photo of a sky.
RgbImage gradient(int width, int height);

// The luminance quantisation table stored in a JPEG file.
std::array<unsigned, 64> storedLuminanceTable(const Bytes& jpeg);
// The table libjpeg's compressor picks for a quality of 1 to 100 (baseline-limited).
std::array<unsigned, 64> luminanceTableForQuality(int quality);

// The first bytes of a colour JPEG declaring the given size, up to its scan header, with no
// tables and no image data. Baseline with 4:2:0 sampling, or progressive without subsampling
// (the most coefficient memory per pixel).
Bytes headerOnlyJpeg(int width, int height, bool progressive = false);

// The progressive file with its last scan repeated until it holds `scans` scans.
Bytes withScans(const Bytes& progressive, int scans);

// A whole-image decode straight through libjpeg, RGB out, with fancy upsampling and block
// smoothing on: the given scale (1/denominator), IDCT method (a J_DCT_METHOD value) and, for
// grey-scale files, a palette of 236 levels with the given dithering (a J_DITHER_MODE value).
RgbImage referenceDecode(const Bytes& jpeg, int scaleDenominator, int dctMethod,
                         int greyDitherMode);

// Bytes with the header of an ICC profile of the given data colour space ("RGB ", "GRAY",
// "CMYK") and size, the rest a pattern: enough for anything that only carries a profile.
Bytes fakeIccProfile(std::size_t size, const char* colourSpace);
// The payload of one APP2 chunk of an ICC profile.
Bytes iccChunk(int sequence, int count, const Bytes& data);
// The JPEG with the segments (marker, payload) put right after its start, in the given order.
Bytes withSegments(const Bytes& jpeg, const std::vector<std::pair<std::uint8_t, Bytes>>& segments);

// A CMYK JPEG in four quadrants of the given inks (0 no ink, 255 full), flat or with more
// cyan in a sawtooth across each row, stored inverted with Adobe's marker as print software
// writes it, in YCCK when asked, and with the profile in APP2 chunks when one is given.
using Inks = std::array<std::uint8_t, 4>;
Bytes encodeCmykJpeg(int width, int height, const std::array<Inks, 4>& quadrantInks, bool ycck,
                     const Bytes& iccProfile = {}, bool textured = false);
// A CMYK ICC profile made with Little CMS for a press whose inks differ from the plain formula.
Bytes cmykTestProfile();

// The libjpeg message number's text as a decoding error shows it.
std::string jpegError(int code);

} // namespace tess::imaging::test
