#include "ErrorText.h"
#include "JpegTestSupport.h"

#include "imaging/Exif.h"
#include "imaging/Jpeg.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

namespace tess::imaging {
namespace {

using test::jpegError;

using tess::test::errorOf;

const std::uint8_t* pixelAt(const RgbImage& image, int x, int y) {
    return &image.pixels[3 * (std::size_t(y) * image.width + x)];
}

void expectNear(const RgbImage& image, int x, int y, const std::array<std::uint8_t, 3>& colour,
                int tolerance, const std::string& label) {
    const std::uint8_t* p = pixelAt(image, x, y);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(p[c], colour[c], tolerance) << label << " at " << x << "," << y << " c" << c;
    }
}

struct Sources {
    Bytes baseline = encodeJpeg(test::quadrants(640, 480), 90, false);
    Bytes progressive = encodeJpeg(test::quadrants(640, 480), 90, true);
    Bytes grey = encodeGreyJpeg(test::greyCells(), 95, false);
    Bytes greyProgressive = encodeGreyJpeg(test::greyCells(), 95, true);
};

const Sources& sources() {
    static const Sources instance;
    return instance;
}

TEST(JpegHeader, ReportsStoredSizeComponentsAndScans) {
    struct Row {
        const char* name;
        const Bytes& data;
        JpegInfo expected;
    };
    const Row rows[] = {
        {"baseline", sources().baseline, {640, 480, 3, false}},
        {"progressive", sources().progressive, {640, 480, 3, true}},
        {"grey", sources().grey, {128, 128, 1, false}},
        {"grey progressive", sources().greyProgressive, {128, 128, 1, true}},
        {"odd size", encodeJpeg(RgbImage(641, 3), 75, false), {641, 3, 3, false}},
    };
    for (const Row& row : rows) {
        const JpegInfo info = readJpegHeader(row.data);
        EXPECT_EQ(info.width, row.expected.width) << row.name;
        EXPECT_EQ(info.height, row.expected.height) << row.name;
        EXPECT_EQ(info.components, row.expected.components) << row.name;
        EXPECT_EQ(info.progressive, row.expected.progressive) << row.name;
    }
}

TEST(JpegHeader, EmptyDataHasNoSize) {
    const JpegInfo info = readJpegHeader({});
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.height, 0);
}

TEST(JpegErrors, CarryLibjpegsMessageNumber) {
    const Bytes text{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
    const Bytes onlySoi{0xFF, 0xD8};
    EXPECT_EQ(errorOf([&] { readJpegHeader(text); }), jpegError(JERR_NO_SOI));
    EXPECT_EQ(errorOf([&] {
                  decodeStretched(text, DecodeProfile::QualityFirst, {{8, 8}});
              }),
              jpegError(JERR_NO_SOI));
    EXPECT_EQ(errorOf([&] {
                  decodeStretched(text, DecodeProfile::SpeedFirst, {{8, 8}});
              }),
              jpegError(JERR_NO_SOI));
    EXPECT_EQ(errorOf([&] {
                  decodeStretched({}, DecodeProfile::QualityFirst, {{8, 8}});
              }),
              jpegError(JERR_INPUT_EMPTY));
    EXPECT_EQ(errorOf([&] { readJpegHeader(onlySoi); }), jpegError(JERR_NO_IMAGE));
    EXPECT_EQ(errorOf([&] { encodeJpeg(RgbImage(0, 10), 80, false); }),
              jpegError(JERR_EMPTY_IMAGE));
    // The header is fine, the tables are missing: the failure comes from starting the decoder.
    EXPECT_EQ(
        errorOf([&] {
            decodeStretched(test::headerOnlyJpeg(64, 64), DecodeProfile::QualityFirst, {{8, 8}});
        }).rfind("JPEG error #", 0),
        0u);
}

TEST(JpegErrors, HugePhotoIsRefusedBeforeDecoding) {
    const Bytes huge = test::headerOnlyJpeg(60000, 60000);
    const JpegInfo info = readJpegHeader(huge);
    EXPECT_EQ(info.width, 60000);
    EXPECT_EQ(info.height, 60000);
    // Decoding would fail on the missing tables; the size check comes first.
    EXPECT_EQ(errorOf([&] {
                  decodeStretched(huge, DecodeProfile::QualityFirst, {{800, 600}});
              }),
              "Out of memory");
    // So for a small photo drawn onto a huge image, before the image is made.
    EXPECT_EQ(errorOf([&] {
                  decodeStretched(test::headerOnlyJpeg(64, 64), DecodeProfile::QualityFirst,
                                  {{8, 8}, {65500, 65500}});
              }),
              "Out of memory");
}

TEST(JpegErrors, LibjpegsMemoryIsBounded) {
    // Under the pixel limit, but a progressive photo this size would need more than 2 GiB
    // of coefficients: libjpeg refuses before taking it.
    const Bytes huge = test::headerOnlyJpeg(19000, 19000, true);
    EXPECT_EQ(errorOf([&] {
                  decodeStretched(huge, DecodeProfile::QualityFirst, {{800, 600}});
              }),
              jpegError(JERR_NO_BACKING_STORE));
}

TEST(JpegErrors, PreviewsRefuseWhatNoPhotoNeedsAtOnce) {
    const auto previewError = [](const Bytes& data) {
        return errorOf([&] { decodeStretched(data, DecodeProfile::SpeedFirst, {{201, 151}}); });
    };
    // A 100-megapixel camera photo passes the limits (and then fails on its missing tables),
    // baseline or progressive with the cameras' 4:2:2 sampling.
    Bytes camera = test::headerOnlyJpeg(11648, 8736, true);
    camera[13] = 0x21; // luminance sampled 2 x 1
    for (const Bytes& photo : {test::headerOnlyJpeg(11648, 8736), camera}) {
        EXPECT_EQ(previewError(photo).rfind("JPEG error #", 0), 0u);
    }
    // Too many pixels, or too many coefficients to keep for a progressive file.
    const std::string tooLarge = kPreviewTooLarge;
    EXPECT_EQ(previewError(test::headerOnlyJpeg(26000, 26000, true)),
              tooLarge + ": 26000 x 26000 pixel");
    EXPECT_EQ(previewError(test::headerOnlyJpeg(26000, 26000)), tooLarge + ": 26000 x 26000 pixel");
    EXPECT_EQ(previewError(test::headerOnlyJpeg(11648, 8736, true)),
              tooLarge + ": 11648 x 8736 pixel");
    // The conversion keeps its own limits.
    EXPECT_EQ(errorOf([] {
                  decodeStretched(test::headerOnlyJpeg(26000, 26000), DecodeProfile::QualityFirst,
                                  {{8, 8}});
              }),
              "Out of memory");

    // Scans beyond the limit stop both profiles; a photo's own ten go through.
    const Bytes photo = sources().progressive;
    for (DecodeProfile profile : {DecodeProfile::SpeedFirst, DecodeProfile::QualityFirst}) {
        EXPECT_NO_THROW(decodeStretched(test::withScans(photo, kMaxScans), profile, {{64, 48}}));
        EXPECT_EQ(errorOf([&] {
                      decodeStretched(test::withScans(photo, kMaxScans + 1), profile, {{64, 48}});
                  }),
                  kTooManyScans);
    }
    // A decode its caller no longer wants ends, baseline or progressive.
    const std::atomic<bool> stop = true;
    for (const Bytes* data : {&sources().baseline, &photo}) {
        EXPECT_EQ(errorOf([&] {
                      decodeStretched(*data, DecodeProfile::SpeedFirst, {{64, 48}}, &stop);
                  }),
                  kDecodeStopped);
    }
}

// The memory a decode is judged to take before it starts: a file of several scans keeps the
// coefficients of the whole image (here three full-size components of two bytes per sample), a
// baseline one only bands of rows; the image drawn counts in full.
TEST(DecodeMemory, CountsWhatTheFileKindKeepsAndTheImagesDrawn) {
    const std::vector<Size> drawn{{800, 600}};
    EXPECT_GE(decodeMemory(test::headerOnlyJpeg(20000, 20000, true), drawn),
              std::int64_t(20000) * 20000 * 3 * 2 + 800 * 600 * 3);
    const std::int64_t baseline = decodeMemory(test::headerOnlyJpeg(20000, 20000), drawn);
    EXPECT_GE(baseline, 800 * 600 * 3 + 20000 * 3 * 16);
    EXPECT_LT(baseline, std::int64_t(64) << 20);
    EXPECT_EQ(decodeMemory(Bytes{'n', 'o'}, drawn), 0);
}

TEST(DecodeStretched, MakesOneImagePerTargetSize) {
    const std::vector<Size> targets{{800, 600}, {1, 1}, {0, 5}, {5, 0}, {3, 997}, {640, 480}};
    for (DecodeProfile profile : {DecodeProfile::QualityFirst, DecodeProfile::SpeedFirst}) {
        const auto images = decodeStretched(sources().baseline, profile, targets);
        ASSERT_EQ(images.size(), targets.size());
        for (std::size_t i = 0; i < targets.size(); ++i) {
            EXPECT_EQ(images[i].width, targets[i].width);
            EXPECT_EQ(images[i].height, targets[i].height);
            EXPECT_EQ(images[i].pixels.size(),
                      std::size_t(targets[i].width) * targets[i].height * 3);
        }
    }
}

TEST(DecodeStretched, QuadrantsLandWhereTheyBelong) {
    // Down, up and uneven scales; each quadrant's middle must keep its colour.
    const std::vector<Size> targets{{160, 120}, {1000, 750}, {7, 5}, {2, 2}, {640, 480}};
    for (const Bytes* data : {&sources().baseline, &sources().progressive}) {
        for (DecodeProfile profile : {DecodeProfile::QualityFirst, DecodeProfile::SpeedFirst}) {
            const auto images = decodeStretched(*data, profile, targets);
            for (const RgbImage& image : images) {
                const std::string label =
                    std::to_string(image.width) + "x" + std::to_string(image.height) +
                    (profile == DecodeProfile::SpeedFirst ? " speed" : " quality");
                const int left = image.width / 4;
                const int right = image.width * 3 / 4;
                const int top = image.height / 4;
                const int bottom = image.height * 3 / 4;
                expectNear(image, left, top, test::kQuadrantColours[0], 12, label);
                expectNear(image, right, top, test::kQuadrantColours[1], 12, label);
                expectNear(image, left, bottom, test::kQuadrantColours[2], 12, label);
                expectNear(image, right, bottom, test::kQuadrantColours[3], 12, label);
            }
        }
    }
}

TEST(DecodeStretched, SamplesTheSourcePixelUnderEachCentre) {
    // Cells are 32 pixels wide, so the sampled source column tells which cell shows. Output
    // pixel d of n takes source pixel ((2d + 1) * 128) / (2n).
    struct Row {
        int outputs;
        std::vector<int> cells;
    };
    const Row rows[] = {
        {2, {1, 3}},                   // columns 32 and 96
        {3, {0, 2, 3}},                // columns 21, 64 and 106
        {4, {0, 1, 2, 3}},             // columns 16, 48, 80, 112
        {8, {0, 0, 1, 1, 2, 2, 3, 3}}, // every cell twice
        {1, {2}},                      // column 64
    };
    const auto level = [](const RgbImage& image, int x, int y) { return pixelAt(image, x, y)[0]; };
    for (const Row& row : rows) {
        const auto images = decodeStretched(sources().grey, DecodeProfile::QualityFirst,
                                            {{row.outputs, row.outputs}});
        for (int y = 0; y < row.outputs; ++y) {
            for (int x = 0; x < row.outputs; ++x) {
                EXPECT_NEAR(level(images[0], x, y), test::greyCellLevel(row.cells[x], row.cells[y]),
                            6)
                    << row.outputs << " outputs, pixel " << x << "," << y;
            }
        }
    }
}

TEST(DecodeStretched, MatchesPointSamplingOfTheFullDecodeExactly) {
    // The streaming decoder must give the very bytes of sampling a complete decode: no row
    // lost or shifted between chunks, repeated rows identical.
    const Bytes photo = encodeJpeg(test::gradient(301, 203), 85, false);
    const Bytes progressivePhoto = encodeJpeg(test::gradient(301, 203), 85, true);
    const Bytes greyPhoto = sources().grey;
    // CMYK rows are converted only in the columns the outputs take.
    const Bytes printPhoto = test::encodeCmykJpeg(
        301, 203, {{{10, 200, 180, 0}, {200, 20, 90, 30}, {0, 0, 0, 0}, {90, 90, 90, 200}}}, true,
        test::cmykTestProfile());
    for (const Bytes* data : {&photo, &progressivePhoto, &greyPhoto, &printPhoto}) {
        for (DecodeProfile profile : {DecodeProfile::QualityFirst, DecodeProfile::SpeedFirst}) {
            // The size libjpeg decodes to: the sides divided by the scale, rounded up.
            const JpegInfo header = readJpegHeader(*data);
            const int scale = profile == DecodeProfile::SpeedFirst ? 4 : 1;
            const Size full{(header.width + scale - 1) / scale,
                            (header.height + scale - 1) / scale};
            const std::vector<Size> targets{{97, 61}, {700, 500}, {1, 1}, {full.width, 3}};
            auto all = targets;
            all.insert(all.begin(), full);
            const auto images = decodeStretched(*data, profile, all);
            const RgbImage& reference = images[0];
            for (std::size_t t = 0; t < targets.size(); ++t) {
                const RgbImage& image = images[t + 1];
                int mismatches = 0;
                for (int y = 0; y < image.height; ++y) {
                    const int sy = int((2LL * y + 1) * full.height / (2LL * image.height));
                    for (int x = 0; x < image.width; ++x) {
                        const int sx = int((2LL * x + 1) * full.width / (2LL * image.width));
                        mismatches +=
                            std::memcmp(pixelAt(image, x, y), pixelAt(reference, sx, sy), 3) != 0;
                    }
                }
                EXPECT_EQ(mismatches, 0) << image.width << "x" << image.height;
            }
        }
    }
}

TEST(DecodeStretched, ProfilesDecodeAsTheirLibjpegSettings) {
    // The IDCT, the scale and the grey palette's dithering all show in the pixels.
    const Bytes photo = encodeJpeg(test::gradient(203, 157), 90, false);
    // Block smoothing only shows where a progressive file lacks its later scans.
    Bytes cutProgressive = encodeJpeg(test::gradient(203, 157), 90, true);
    cutProgressive.resize(cutProgressive.size() / 4);
    struct Row {
        const char* name;
        const Bytes& data;
        DecodeProfile profile;
        int scale, dct, dither;
    };
    const Row rows[] = {
        {"colour, quality", photo, DecodeProfile::QualityFirst, 1, JDCT_FLOAT, JDITHER_FS},
        {"colour, speed", photo, DecodeProfile::SpeedFirst, 4, JDCT_IFAST, JDITHER_FS},
        {"progressive cut short", cutProgressive, DecodeProfile::QualityFirst, 1, JDCT_FLOAT,
         JDITHER_FS},
        {"grey, quality", sources().grey, DecodeProfile::QualityFirst, 1, JDCT_FLOAT, JDITHER_FS},
        {"grey, speed", sources().grey, DecodeProfile::SpeedFirst, 4, JDCT_IFAST, JDITHER_ORDERED},
    };
    for (const Row& row : rows) {
        const RgbImage expected = test::referenceDecode(row.data, row.scale, row.dct, row.dither);
        const RgbImage got =
            decodeStretched(row.data, row.profile, {{expected.width, expected.height}})[0];
        EXPECT_TRUE(got.pixels == expected.pixels) << row.name;
    }
}

TEST(DecodeStretched, GreyPhotosComeOutGrey) {
    for (DecodeProfile profile : {DecodeProfile::QualityFirst, DecodeProfile::SpeedFirst}) {
        const RgbImage image = decodeStretched(sources().grey, profile, {{128, 128}})[0];
        int coloured = 0;
        for (std::size_t i = 0; i < image.pixels.size(); i += 3) {
            coloured +=
                image.pixels[i] != image.pixels[i + 1] || image.pixels[i] != image.pixels[i + 2];
        }
        EXPECT_EQ(coloured, 0);
        EXPECT_NEAR(pixelAt(image, 100, 100)[0], test::greyCellLevel(3, 3), 8);
    }
}

TEST(DecodeStretched, TruncatedFileDecodesWithTheRestGrey) {
    Bytes cut = sources().baseline;
    cut.resize(cut.size() / 3);
    const RgbImage image = decodeStretched(cut, DecodeProfile::QualityFirst, {{640, 480}})[0];
    expectNear(image, 10, 10, test::kQuadrantColours[0], 12, "top");
    expectNear(image, 630, 470, {128, 128, 128}, 2, "missing part");
}

TEST(EncodeJpeg, QualityIsTheLowByteClampedByLibjpeg) {
    struct Row {
        int quality;
        int effective;
    };
    const Row rows[] = {{80, 80}, {0, 1}, {150, 100}, {256, 1}, {300, 44}, {-1, 100}, {50, 50}};
    const RgbImage image = test::gradient(64, 48);
    for (const Row& row : rows) {
        const Bytes data = encodeJpeg(image, row.quality, false);
        EXPECT_EQ(test::storedLuminanceTable(data), test::luminanceTableForQuality(row.effective))
            << "quality " << row.quality;
    }
    // The rows above would pass with any constant table if the tables did not differ.
    EXPECT_NE(test::luminanceTableForQuality(44), test::luminanceTableForQuality(80));
}

TEST(EncodeJpeg, KeepsTheScanKindAndAlwaysWritesColour) {
    const RgbImage fromGrey =
        decodeStretched(sources().grey, DecodeProfile::QualityFirst, {{50, 50}})[0];
    for (bool progressive : {false, true}) {
        const JpegInfo info = readJpegHeader(encodeJpeg(fromGrey, 80, progressive));
        EXPECT_EQ(info.progressive, progressive);
        EXPECT_EQ(info.components, 3);
        EXPECT_EQ(info.width, 50);
    }
}

TEST(EncodeJpeg, OrientationTravelsInAnExifSegment) {
    const RgbImage image = test::gradient(32, 24);
    for (int orientation = 0; orientation <= 9; ++orientation) {
        const Bytes data = encodeJpeg(image, 80, orientation % 2 == 0, orientation);
        const int expected = orientation >= 2 && orientation <= 8 ? orientation : 0;
        EXPECT_EQ(readExifOrientation(data), expected) << orientation;
        // The segment must not disturb decoding.
        EXPECT_EQ(readJpegHeader(data).width, 32);
    }
}

} // namespace
} // namespace tess::imaging
