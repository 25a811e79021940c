// The JPEG paths: the header, the preview's decode and turn, the conversion of one original into
// its two copies (one decode into two sizes with point sampling, the encoding with the kept
// orientation and colour profile, or the thumbnail made from the reduced copy when that replaces
// the original), and the Exif and ICC readers. Input: four bytes choosing the two boxes (the high
// bit of the first: the reduced copy replaces the original), then the file.

#include "FuzzSupport.h"
#include "imaging/Exif.h"
#include "imaging/Fit.h"
#include "imaging/IccProfile.h"
#include "imaging/Jpeg.h"
#include "imaging/Orientation.h"
#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "workspace/Conversion.h"
#include "workspace/PreviewPicture.h"

using namespace tess::imaging;

namespace {

// The conversion decodes larger photos as well; the fuzzer leaves them out of it, so that each
// run stays short.
constexpr std::int64_t kMaxFuzzedPixels = 4'000'000;

// A file layer that holds one file, read under any path; nothing else is there.
class OneFile final : public tess::platform::FileSystem {
public:
    explicit OneFile(const Bytes& data) : m_data(data) {}

    std::vector<std::uint8_t> readFile(const std::string&) override { return m_data; }
    std::optional<std::vector<std::uint8_t>> readFileUpTo(const std::string&,
                                                          std::size_t maxSize) override {
        return m_data.size() > maxSize ? std::nullopt : std::optional(m_data);
    }
    bool sameFile(const std::string& a, const std::string& b) override { return a == b; }

    std::string currentDirectory() override { return "C:\\"; }
    bool setCurrentDirectory(const std::string&) override { return false; }
    std::vector<std::string> drives() override { return {"C:"}; }
    std::vector<tess::platform::FindEntry> findFiles(const std::string&) override { return {}; }
    std::uint32_t attributes(const std::string&) override {
        return tess::platform::kInvalidAttributes;
    }
    bool fileExists(const std::string&) override { return true; }
    bool directoryExists(const std::string&) override { return false; }
    bool deleteFile(const std::string&) override { return false; }
    bool moveFile(const std::string&, const std::string&) override { return false; }
    void writeFile(const std::string& path, const void*, std::size_t) override {
        throw tess::Error("Cannot create file " + path);
    }
    std::vector<std::optional<std::string>> getProfileStrings(const std::string&,
                                                              const std::vector<std::string>& keys,
                                                              const std::string&) override {
        return std::vector<std::optional<std::string>>(keys.size());
    }
    bool writeProfileStrings(const std::string&, const std::vector<tess::platform::ProfileSetting>&,
                             const std::string&) override {
        return false;
    }

private:
    const Bytes& m_data;
};

// What a copy made of `file` must be: its size, its scans, its orientation and its profile.
void checkCopy(const Bytes& copy, Size size, const JpegInfo& original, int orientation,
               const Bytes& profile) {
    const JpegInfo info = readJpegHeader(copy);
    FUZZ_CHECK(info.width == size.width && info.height == size.height);
    FUZZ_CHECK(info.components == 3 && info.progressive == original.progressive);
    FUZZ_CHECK(readExifOrientation(copy) == (orientation >= 2 ? orientation : 0));
    FUZZ_CHECK(readIccProfile(copy) == profile);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    const bool overOriginal = (data[0] & 0x80) != 0;
    const tess::workspace::OutputSettings reduced{1 + data[0] % 96, 1 + data[1] % 96, 80,
                                                  overOriginal ? "C:\\o" : "C:\\r"};
    const tess::workspace::OutputSettings thumbnail{1 + data[2] % 32, 1 + data[3] % 32, 50,
                                                    "C:\\t"};
    const Bytes file(data + 4, data + size);
    OneFile fs(file);

    const int orientation = readExifOrientation(file);
    FUZZ_CHECK(orientation >= 0 && orientation <= 8);
    const Bytes profile = readIccProfile(file);
    FUZZ_CHECK(profile.empty() || !iccColourSpace(profile).empty());
    try {
        const JpegInfo info = readJpegHeader(file);
        FUZZ_CHECK(info.width >= 0 && info.height >= 0);
        // The preview's own limits keep it short whatever the header claims; it is turned
        // upright as the orientation says.
        try {
            const Size upright = orientedSize({info.width, info.height}, orientation);
            const PreviewFit fit = previewFit(upright.width, upright.height);
            const RgbImage preview = tess::workspace::decodePreview(fs, "C:\\o\\P.JPG");
            FUZZ_CHECK(preview.width == fit.view.width && preview.height == fit.view.height);
        } catch (const tess::Error&) {
        }
        if (std::int64_t(info.width) * info.height > kMaxFuzzedPixels) {
            return 0;
        }
        const tess::workspace::ConvertedPhoto photo =
            tess::workspace::preparePhoto(fs, "P.JPG", "C:\\o", reduced, thumbnail);
        // A colour original's RGB profile goes with its copies, up to a size.
        const Bytes kept = info.components == 3 && iccColourSpace(profile) == "RGB " &&
                                   profile.size() <= kMaxCarriedIccProfile
                               ? profile
                               : Bytes();
        const Size reducedSize =
            conversionSize(info.width, info.height, reduced.widthLimit, reduced.heightLimit);
        const Size thumbnailFrom = overOriginal ? reducedSize : Size{info.width, info.height};
        checkCopy(photo.reduced, reducedSize, info, orientation, kept);
        checkCopy(photo.thumbnail,
                  conversionSize(thumbnailFrom.width, thumbnailFrom.height, thumbnail.widthLimit,
                                 thumbnail.heightLimit),
                  info, orientation, kept);
    } catch (const tess::Error&) {
    }
    return 0;
}
