#include "JpegTestSupport.h"
#include "TempDir.h"

#include "imaging/IccProfile.h"
#include "imaging/Jpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include <lcms2.h>

namespace tess::imaging {
namespace {

constexpr const char* kImageMagick = "/usr/bin/convert-im6.q16";

// ImageMagick's own sRGB version of a CMYK JPEG: through an sRGB profile when the file has a
// profile of its own, with its plain formula otherwise.
RgbImage imageMagickSrgb(const Bytes& jpeg, bool throughProfile) {
    tess::test::TempDir dir;
    std::ofstream(dir.host("in.jpg"), std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsSaveProfileToFile(srgb, dir.host("srgb.icc").c_str());
    cmsCloseProfile(srgb);
    const std::string to = throughProfile ? "-profile " + dir.host("srgb.icc") : "-colorspace sRGB";
    // Read with the conversion's inverse DCT, so that only the colours may differ.
    const std::string command = std::string(kImageMagick) + " -define jpeg:dct-method=float " +
                                dir.host("in.jpg") + " " + to +
                                " -depth 8 ppm:" + dir.host("out.ppm");
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << command;
        return {};
    }
    std::ifstream in(dir.host("out.ppm"), std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    RgbImage image(width, height);
    in.read(reinterpret_cast<char*>(image.pixels.data()), std::streamsize(image.pixels.size()));
    return image;
}

// The mean of each channel over the middle half of each quadrant, away from the edges that
// the JPEG blurs.
std::array<std::array<double, 3>, 4> quadrantMeans(const RgbImage& image) {
    std::array<std::array<double, 3>, 4> means{};
    for (int q = 0; q < 4; ++q) {
        const int x0 = (q % 2) * image.width / 2 + image.width / 8;
        const int y0 = (q / 2) * image.height / 2 + image.height / 8;
        int count = 0;
        for (int y = y0; y < y0 + image.height / 4; ++y) {
            for (int x = x0; x < x0 + image.width / 4; ++x, ++count) {
                for (int c = 0; c < 3; ++c) {
                    means[q][c] += image.pixels[3 * (std::size_t(y) * image.width + x) + c];
                }
            }
        }
        for (double& mean : means[q]) {
            mean /= count;
        }
    }
    return means;
}

TEST(CmykJpeg, DecodesToTheColoursImageMagickGives) {
#ifdef _WIN32
    GTEST_SKIP() << "ImageMagick, the reference here, is the Linux build's program";
#endif
    ASSERT_EQ(access(kImageMagick, X_OK), 0) << kImageMagick << " (Debian imagemagick) missing";
    const std::array<test::Inks, 4> inks{{
        {20, 200, 180, 10}, // red
        {150, 30, 200, 40}, // green
        {180, 180, 0, 0},   // blue
        {0, 0, 0, 255},     // black
    }};
    const Bytes profile = test::cmykTestProfile();
    ASSERT_EQ(iccColourSpace(profile), "CMYK");
    for (const bool ycck : {false, true}) {
        for (const bool withProfile : {false, true}) {
            const std::string name =
                std::string(ycck ? "YCCK" : "CMYK") + (withProfile ? " with profile" : "");
            const Bytes jpeg =
                test::encodeCmykJpeg(320, 240, inks, ycck, withProfile ? profile : Bytes{}, true);
            const RgbImage expected = imageMagickSrgb(jpeg, withProfile);
            // Reduced as a conversion reduces it, pixel by pixel.
            const RgbImage reduced =
                decodeStretched(jpeg, DecodeProfile::QualityFirst, {{97, 61}})[0];
            int farOff = 0;
            for (int y = 0; y < reduced.height; ++y) {
                const std::size_t sy = (2 * y + 1) * 240 / (2 * 61);
                for (int x = 0; x < reduced.width; ++x) {
                    const std::size_t sx = (2 * x + 1) * 320 / (2 * 97);
                    for (int c = 0; c < 3; ++c) {
                        farOff += std::abs(reduced.pixels[3 * (std::size_t(y) * 97 + x) + c] -
                                           expected.pixels[3 * (sy * 320 + sx) + c]) > 3;
                    }
                }
            }
            EXPECT_EQ(farOff, 0) << name;
            // The preview, in the mean.
            const auto previewMeans =
                quadrantMeans(decodeStretched(jpeg, DecodeProfile::SpeedFirst, {{80, 60}})[0]);
            const auto expectedMeans = quadrantMeans(expected);
            for (int q = 0; q < 4; ++q) {
                for (int c = 0; c < 3; ++c) {
                    EXPECT_NEAR(previewMeans[q][c], expectedMeans[q][c], 3.0)
                        << name << " quadrant " << q << " c" << c;
                }
            }
        }
    }
    // The test's press profile must really change the colours, or the test proves nothing.
    const Bytes plain = test::encodeCmykJpeg(320, 240, inks, false);
    EXPECT_GT(std::abs(quadrantMeans(imageMagickSrgb(plain, false))[2][1] -
                       quadrantMeans(imageMagickSrgb(
                           test::encodeCmykJpeg(320, 240, inks, false, profile), true))[2][1]),
              15.0);
}

} // namespace
} // namespace tess::imaging
