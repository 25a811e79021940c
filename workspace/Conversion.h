#pragma once

#include "imaging/Jpeg.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <string>

namespace tess::workspace {

// Reads a parameter box as an integer: leading blanks, an optional sign, then decimal digits,
// or hexadecimal digits after "$" or "0x". Anything else (trailing blanks, an empty text, a
// value outside 32 bits) throws tess::Error("'<text>' is not a valid integer value").
std::int32_t parseInteger(const std::string& text);

// The progress bar's position after moving to `rowNumber` (1-based) of `rowCount` rows:
// 100 * row / count rounded half to even.
int progressPosition(int rowNumber, int rowCount);

// Source path: the folder with one final "\" removed, then "\", then the name. Both paths refuse
// a name that is not a single folder entry (checkPhotoName).
std::string conversionSourcePath(const std::string& folder, const std::string& name);
// Destination path: the folder text as it stands, then "\", then the name.
std::string conversionDestinationPath(const std::string& folder, const std::string& name);

// One output of a conversion: the box the photo must fit, the JPEG quality and the folder.
struct OutputSettings {
    int widthLimit = 0;
    int heightLimit = 0;
    int quality = 0;
    std::string folder;
};

// Converts one original into one output (load, fit, stretch onto white, encode, replace).
// Throws tess::Error with the message of the failing step. The conversion pass calls
// convertToReducedAndThumbnail instead, which makes both outputs of a photo.
void ConvertiFoto(platform::FileSystem& fs, int widthLimit, int heightLimit, int quality,
                  const std::string& name, const std::string& sourceFolder,
                  const std::string& destinationFolder);

// The two outputs of one original, encoded and not yet written.
struct ConvertedPhoto {
    imaging::Bytes reduced;
    imaging::Bytes thumbnail;
};

// Reads one original and encodes its reduced copy and its thumbnail in memory, from a single
// decode. When the reduced copy is to replace the original itself, the thumbnail is made from
// the new reduced copy, as it would be made from the new file. Writes nothing; safe to call
// from several threads at once when the file layer is. Throws tess::Error as ConvertiFoto.
ConvertedPhoto preparePhoto(platform::FileSystem& fs, const std::string& name,
                            const std::string& sourceFolder, const OutputSettings& reduced,
                            const OutputSettings& thumbnail);

// Writes a prepared photo: the reduced copy, then the thumbnail. A failed reduced copy leaves
// the thumbnail unwritten. Throws tess::Error("Cannot create file <path>").
void writePhoto(platform::FileSystem& fs, const std::string& name, const OutputSettings& reduced,
                const OutputSettings& thumbnail, const ConvertedPhoto& photo);

// Converts one original into its reduced copy and its thumbnail from a single decode. The
// bytes written are those two ConvertiFoto calls would write; when the reduced copy replaces
// the original itself, the thumbnail is made from the new file, as two calls would.
void convertToReducedAndThumbnail(platform::FileSystem& fs, const std::string& name,
                                  const std::string& sourceFolder, const OutputSettings& reduced,
                                  const OutputSettings& thumbnail);

} // namespace tess::workspace
