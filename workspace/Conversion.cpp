#include "workspace/Conversion.h"

#include "imaging/Exif.h"
#include "imaging/Fit.h"
#include "imaging/IccProfile.h"
#include "imaging/Jpeg.h"
#include "platform/Error.h"
#include "platform/WindowsPath.h"
#include "workspace/PhotoFiles.h"

namespace tess::workspace {

namespace {

// What the copies keep of the original's metadata; nothing else of it is copied.
struct KeptMetadata {
    int orientation = 0;
    imaging::Bytes iccProfile;
};

KeptMetadata metadataToKeep(const imaging::Bytes& original, const imaging::JpegInfo& header) {
    KeptMetadata kept;
    // Only a real turn or mirror is worth a segment.
    const int orientation = imaging::readExifOrientation(original);
    kept.orientation = orientation >= 2 && orientation <= 8 ? orientation : 0;
    // The pixels of a colour original are copied unchanged, so its RGB profile describes the
    // copies as it did the original. A CMYK original is turned into sRGB and a grey one is
    // written in colour, so what their profiles say no longer holds. An oversized profile is
    // dropped (kMaxCarriedIccProfile).
    if (header.components == 3) {
        imaging::Bytes profile = imaging::readIccProfile(original);
        if (imaging::iccColourSpace(profile) == "RGB " &&
            profile.size() <= imaging::kMaxCarriedIccProfile) {
            kept.iccProfile = std::move(profile);
        }
    }
    return kept;
}

imaging::Bytes encodeWithMetadata(const imaging::RgbImage& image, int quality,
                                  const imaging::JpegInfo& header, const KeptMetadata& kept) {
    return imaging::encodeJpeg(image, quality, header.progressive, kept.orientation,
                               kept.iccProfile);
}

// One output of an original already in memory: sized, stretched onto white and encoded.
imaging::Bytes encodeOutput(const imaging::Bytes& original, int widthLimit, int heightLimit,
                            int quality) {
    const imaging::JpegInfo header = imaging::readJpegHeader(original);
    const imaging::Size target =
        imaging::conversionSize(header.width, header.height, widthLimit, heightLimit);
    const auto images =
        imaging::decodeStretched(original, imaging::DecodeProfile::QualityFirst, {target});
    return encodeWithMetadata(images[0], quality, header, metadataToKeep(original, header));
}

} // namespace

std::string conversionSourcePath(const std::string& folder, const std::string& name) {
    // Dropping one final "\" and putting one back is joining with a single separator.
    checkPhotoName(name);
    return platform::joinPath(folder, name);
}

std::string conversionDestinationPath(const std::string& folder, const std::string& name) {
    checkPhotoName(name);
    return folder + "\\" + name;
}

void ConvertiFoto(platform::FileSystem& fs, int widthLimit, int heightLimit, int quality,
                  const std::string& name, const std::string& sourceFolder,
                  const std::string& destinationFolder) {
    const imaging::Bytes encoded = encodeOutput(
        fs.readFile(conversionSourcePath(sourceFolder, name)), widthLimit, heightLimit, quality);
    fs.writeFile(conversionDestinationPath(destinationFolder, name), encoded.data(),
                 encoded.size());
}

Original readOriginal(platform::FileSystem& fs, const std::string& name,
                      const std::string& sourceFolder, const OutputSettings& reduced) {
    const std::string source = conversionSourcePath(sourceFolder, name);
    const bool replaced = fs.sameFile(source, conversionDestinationPath(reduced.folder, name));
    return {fs.readFile(source), replaced};
}

ConvertedPhoto convertOriginal(const Original& original, const OutputSettings& reduced,
                               const OutputSettings& thumbnail) {
    ConvertedPhoto photo;
    if (original.replacedByReduced) {
        // The thumbnail is made from the new reduced copy, so the two cannot share a decode.
        photo.reduced =
            encodeOutput(original.data, reduced.widthLimit, reduced.heightLimit, reduced.quality);
        photo.thumbnail = encodeOutput(photo.reduced, thumbnail.widthLimit, thumbnail.heightLimit,
                                       thumbnail.quality);
        return photo;
    }
    const imaging::JpegInfo header = imaging::readJpegHeader(original.data);
    const imaging::Size reducedSize = imaging::conversionSize(
        header.width, header.height, reduced.widthLimit, reduced.heightLimit);
    const imaging::Size thumbnailSize = imaging::conversionSize(
        header.width, header.height, thumbnail.widthLimit, thumbnail.heightLimit);
    const auto images = imaging::decodeStretched(
        original.data, imaging::DecodeProfile::QualityFirst, {reducedSize, thumbnailSize});
    const KeptMetadata kept = metadataToKeep(original.data, header);
    photo.reduced = encodeWithMetadata(images[0], reduced.quality, header, kept);
    photo.thumbnail = encodeWithMetadata(images[1], thumbnail.quality, header, kept);
    return photo;
}

namespace {

void writeOutput(platform::FileSystem& fs, const std::string& name, const OutputSettings& output,
                 const imaging::Bytes& bytes) {
    const std::string path = conversionDestinationPath(output.folder, name);
    if (output.newNames.count(name) != 0)
        fs.writeFileExactName(path, bytes.data(), bytes.size());
    else
        fs.writeFile(path, bytes.data(), bytes.size());
}

} // namespace

std::int64_t conversionMemory(const Original& original, const OutputSettings& reduced,
                              const OutputSettings& thumbnail) {
    const std::int64_t data = std::int64_t(original.data.size());
    imaging::JpegInfo header;
    imaging::Size reducedSize;
    imaging::Size thumbnailSize;
    try {
        header = imaging::readJpegHeader(original.data);
        reducedSize = imaging::conversionSize(header.width, header.height, reduced.widthLimit,
                                              reduced.heightLimit);
        // Over the original, the thumbnail is made from the reduced copy: within one pixel
        // of the size made from the original.
        thumbnailSize = imaging::conversionSize(header.width, header.height, thumbnail.widthLimit,
                                                thumbnail.heightLimit);
    } catch (const std::exception&) {
        return data;
    }
    const std::int64_t thumbnailCopy =
        std::int64_t(thumbnailSize.width + 1) * (thumbnailSize.height + 1) * 3 +
        imaging::encodeMemory(thumbnailSize, header.progressive);
    if (original.replacedByReduced) {
        // Two decodes one after the other, the reduced copy kept between them: the second one
        // is counted as a second encoder's worth of coefficients.
        return data + imaging::decodeMemory(original.data, {reducedSize}) +
               2 * imaging::encodeMemory(reducedSize, header.progressive) + thumbnailCopy;
    }
    return data + imaging::decodeMemory(original.data, {reducedSize, thumbnailSize}) +
           imaging::encodeMemory(reducedSize, header.progressive) +
           imaging::encodeMemory(thumbnailSize, header.progressive);
}

ConvertedPhoto preparePhoto(platform::FileSystem& fs, const std::string& name,
                            const std::string& sourceFolder, const OutputSettings& reduced,
                            const OutputSettings& thumbnail) {
    return convertOriginal(readOriginal(fs, name, sourceFolder, reduced), reduced, thumbnail);
}

void writePhoto(platform::FileSystem& fs, const std::string& name, const OutputSettings& reduced,
                const OutputSettings& thumbnail, const ConvertedPhoto& photo) {
    writeOutput(fs, name, reduced, photo.reduced);
    writeOutput(fs, name, thumbnail, photo.thumbnail);
}

} // namespace tess::workspace
