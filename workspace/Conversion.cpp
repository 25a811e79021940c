#include "workspace/Conversion.h"

#include "imaging/Exif.h"
#include "imaging/Fit.h"
#include "imaging/Jpeg.h"
#include "platform/Error.h"
#include "workspace/PhotoFiles.h"

#include <limits>

namespace tess::workspace {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The orientation the copies keep: only a real turn or mirror is worth a segment.
int orientationToKeep(const imaging::Bytes& original) {
    const int orientation = imaging::readExifOrientation(original);
    return orientation >= 2 && orientation <= 8 ? orientation : 0;
}

// Writes one output: sized, stretched and encoded as convertiFoto does.
void writeOutput(platform::FileSystem& fs, const std::string& destination,
                 const imaging::RgbImage& image, int quality, const imaging::JpegInfo& header,
                 int orientation) {
    const imaging::Bytes encoded =
        imaging::encodeJpeg(image, quality, header.progressive, orientation);
    fs.writeFile(destination, encoded.data(), encoded.size());
}

} // namespace

std::int32_t parseInteger(const std::string& text) {
    const auto invalid = [&text] { return Error("'" + text + "' is not a valid integer value"); };
    std::size_t pos = 0;
    // Only spaces count as leading blanks; a tab cannot be typed into a parameter box.
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    } else if (pos + 1 < text.size() && text[pos] == '0' &&
               (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos == text.size()) {
        throw invalid();
    }
    // The magnitude is gathered in 64 bits and checked against the signed 32-bit range after
    // every digit, hexadecimal included ("$FFFFFFFF" does not wrap to -1).
    const std::int64_t limit = negative ? -std::int64_t(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = hexDigit(text[pos]);
        if (digit < 0 || digit >= base) {
            throw invalid();
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            throw invalid();
        }
    }
    return std::int32_t(negative ? -magnitude : magnitude);
}

int progressPosition(int rowNumber, int rowCount) {
    if (rowCount <= 0) {
        return 0;
    }
    return int(imaging::roundHalfEven(100.0L * rowNumber / rowCount));
}

std::string conversionSourcePath(const std::string& folder, const std::string& name) {
    checkPhotoName(name);
    std::string path = folder;
    if (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path + "\\" + name;
}

std::string conversionDestinationPath(const std::string& folder, const std::string& name) {
    checkPhotoName(name);
    return folder + "\\" + name;
}

void convertiFoto(platform::FileSystem& fs, int widthLimit, int heightLimit, int quality,
                  const std::string& name, const std::string& sourceFolder,
                  const std::string& destinationFolder) {
    const std::string source = conversionSourcePath(sourceFolder, name);
    const std::string destination = conversionDestinationPath(destinationFolder, name);
    const imaging::Bytes original = fs.readFile(source);
    const imaging::JpegInfo header = imaging::readJpegHeader(original);
    const imaging::Size target =
        imaging::conversionSize(header.width, header.height, widthLimit, heightLimit);
    const auto images =
        imaging::decodeStretched(original, imaging::DecodeProfile::QualityFirst, {target});
    writeOutput(fs, destination, images[0], quality, header, orientationToKeep(original));
}

void convertPhoto(platform::FileSystem& fs, const std::string& name,
                  const std::string& sourceFolder, const OutputSpec& reduced,
                  const OutputSpec& thumbnail) {
    const std::string source = conversionSourcePath(sourceFolder, name);
    const std::string reducedPath = conversionDestinationPath(reduced.folder, name);
    const std::string thumbnailPath = conversionDestinationPath(thumbnail.folder, name);
    if (fs.sameFile(source, reducedPath)) {
        // The reduced copy replaces the original, and the thumbnail is made from the new
        // file, so the two steps cannot share a decode.
        convertiFoto(fs, reduced.widthLimit, reduced.heightLimit, reduced.quality, name,
                     sourceFolder, reduced.folder);
        convertiFoto(fs, thumbnail.widthLimit, thumbnail.heightLimit, thumbnail.quality, name,
                     sourceFolder, thumbnail.folder);
        return;
    }

    const imaging::Bytes original = fs.readFile(source);
    const imaging::JpegInfo header = imaging::readJpegHeader(original);
    const imaging::Size reducedSize = imaging::conversionSize(
        header.width, header.height, reduced.widthLimit, reduced.heightLimit);
    const imaging::Size thumbnailSize = imaging::conversionSize(
        header.width, header.height, thumbnail.widthLimit, thumbnail.heightLimit);
    const auto images = imaging::decodeStretched(original, imaging::DecodeProfile::QualityFirst,
                                                 {reducedSize, thumbnailSize});
    const int orientation = orientationToKeep(original);
    writeOutput(fs, reducedPath, images[0], reduced.quality, header, orientation);
    writeOutput(fs, thumbnailPath, images[1], thumbnail.quality, header, orientation);
}

} // namespace tess::workspace
