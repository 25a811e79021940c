#pragma once

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
struct OutputSpec {
    int widthLimit = 0;
    int heightLimit = 0;
    int quality = 0;
    std::string folder;
};

// Converts one original into one output (load, fit, stretch onto white, encode, replace).
// Throws tess::Error with the message of the failing step.
void convertiFoto(platform::FileSystem& fs, int widthLimit, int heightLimit, int quality,
                  const std::string& name, const std::string& sourceFolder,
                  const std::string& destinationFolder);

// Converts one original into its reduced copy and its thumbnail from a single decode. The
// bytes written are those two convertiFoto calls would write; when the reduced copy replaces
// the original itself, the thumbnail is made from the new file, as two calls would.
void convertPhoto(platform::FileSystem& fs, const std::string& name,
                  const std::string& sourceFolder, const OutputSpec& reduced,
                  const OutputSpec& thumbnail);

} // namespace tess::workspace
