// The JPEG paths: the header, the preview's decode, the conversion's decode into two sizes with
// point sampling and its encoding, and the Exif orientation. Input: four bytes choosing the two
// output sizes, then the file.

#include "FuzzSupport.h"
#include "imaging/Exif.h"
#include "imaging/Fit.h"
#include "imaging/Jpeg.h"
#include "platform/Error.h"

using namespace tess::imaging;

namespace {

// The conversion decodes larger photos as well; the fuzzer leaves them out of it, so that each
// run stays short.
constexpr std::int64_t kMaxFuzzedPixels = 4'000'000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    const Size reduced{1 + data[0] % 96, 1 + data[1] % 96};
    const Size thumbnail{1 + data[2] % 32, 1 + data[3] % 32};
    const Bytes file(data + 4, data + size);

    const int orientation = readExifOrientation(file);
    FUZZ_CHECK(orientation >= 0 && orientation <= 8);
    try {
        const JpegInfo info = readJpegHeader(file);
        FUZZ_CHECK(info.width >= 0 && info.height >= 0);
        // The preview's own limits keep it short whatever the header claims.
        const PreviewFit fit = previewFit(info.width, info.height);
        try {
            const auto preview = decodeStretched(file, DecodeProfile::SpeedFirst, {fit.view});
            FUZZ_CHECK(preview.size() == 1 && preview[0].width == fit.view.width);
        } catch (const tess::Error&) {
        }
        if (std::int64_t(info.width) * info.height > kMaxFuzzedPixels) {
            return 0;
        }
        const auto images =
            decodeStretched(file, DecodeProfile::QualityFirst, {reduced, thumbnail});
        FUZZ_CHECK(images.size() == 2 && images[0].width == reduced.width &&
                   images[1].height == thumbnail.height);
        const Bytes encoded = encodeJpeg(images[1], 75, info.progressive, orientation);
        const JpegInfo again = readJpegHeader(encoded);
        FUZZ_CHECK(again.width == thumbnail.width && again.height == thumbnail.height);
        FUZZ_CHECK(readExifOrientation(encoded) == (orientation >= 2 ? orientation : 0));
    } catch (const tess::Error&) {
    }
    return 0;
}
