#include "workspace/PreviewPicture.h"

#include "ErrorText.h"
#include "FakeFileSystem.h"
#include "JpegTestSupport.h"
#include "imaging/Jpeg.h"

#include <gtest/gtest.h>

#include <jerror.h>

namespace tess::workspace {
namespace {

using imaging::Bytes;

// Each limit a preview keeps, met by a file of the fake layer: the error it gives, or none.
TEST(DecodePreview, RefusesEveryFileBeyondItsLimits) {
    const Bytes photo = imaging::encodeJpeg(imaging::RgbImage(64, 48), 80, true);
    // A whole photo, with more bytes after its end than a preview reads.
    Bytes padded = photo;
    padded.resize(imaging::kMaxPreviewFileSize + 1);
    const std::string tooLarge = imaging::kPreviewTooLarge;
    const struct {
        const char* name;
        Bytes data;
        std::string error;
    } cases[] = {
        {"PHOTO.JPG", photo, "no error"},
        {"HEAVY.JPG", padded, tooLarge + ": C:\\Foto\\HEAVY.JPG"},
        {"WIDE.JPG", imaging::test::headerOnlyJpeg(26000, 26000),
         tooLarge + ": 26000 x 26000 pixel"},
        // Fewer pixels, but a progressive file keeps the coefficients of all of them.
        {"DEEP.JPG", imaging::test::headerOnlyJpeg(11648, 8736, true),
         tooLarge + ": 11648 x 8736 pixel"},
        {"SCANS.JPG", imaging::test::withScans(photo, imaging::kMaxScans + 1),
         imaging::kTooManyScans},
        {"GIF.JPG", {'G', 'I', 'F', '8', '9', 'a'}, imaging::test::jpegError(JERR_NO_SOI)},
    };
    test::FakeFileSystem fs;
    for (const auto& c : cases)
        fs.files["C:\\Foto\\" + std::string(c.name)] = c.data;
    for (const auto& c : cases) {
        EXPECT_EQ(
            tess::test::errorOf([&] { decodePreview(fs, "C:\\Foto\\" + std::string(c.name)); }),
            c.error)
            << c.name;
    }
    EXPECT_EQ(tess::test::errorOf([&] { decodePreview(fs, "C:\\Foto\\GONE.JPG"); }),
              "Cannot open file C:\\Foto\\GONE.JPG");
    // The photo within them all, at a quarter of its size.
    const imaging::RgbImage picture = decodePreview(fs, "C:\\Foto\\PHOTO.JPG");
    EXPECT_EQ(picture.width, 16);
    EXPECT_EQ(picture.height, 12);
}

} // namespace
} // namespace tess::workspace
