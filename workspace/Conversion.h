#pragma once

#include "imaging/Jpeg.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <set>
#include <string>

namespace tess::workspace {

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
    // Names whose copy is a new file of exactly that name, beside files of the folder whose
    // names differ from it only in letter case and are not this photo's (matchingEntry).
    std::set<std::string> newNames{};
};

// Converts one original into one output (load, fit, stretch onto white, encode, replace).
// Throws tess::Error with the message of the failing step. The conversion pass makes both
// outputs of a photo from one decode instead (preparePhoto, writePhoto).
void ConvertiFoto(platform::FileSystem& fs, int widthLimit, int heightLimit, int quality,
                  const std::string& name, const std::string& sourceFolder,
                  const std::string& destinationFolder);

// The two outputs of one original, encoded and not yet written.
struct ConvertedPhoto {
    imaging::Bytes reduced;
    imaging::Bytes thumbnail;
};

// One original read for the conversion pass: its data, and whether its reduced copy is to
// replace it (the reduced folder is the originals folder).
struct Original {
    imaging::Bytes data;
    bool replacedByReduced = false;
};

// Reads one original. Throws tess::Error as ConvertiFoto.
Original readOriginal(platform::FileSystem& fs, const std::string& name,
                      const std::string& sourceFolder, const OutputSettings& reduced);

// Encodes the reduced copy and the thumbnail of an original in memory, from a single decode.
// When the reduced copy is to replace the original itself, the thumbnail is made from the new
// reduced copy, as it would be made from the new file. Safe to call from several threads at
// once. Throws tess::Error as ConvertiFoto.
ConvertedPhoto convertOriginal(const Original& original, const OutputSettings& reduced,
                               const OutputSettings& thumbnail);

// The most memory convertOriginal takes for the original, its data included, in bytes: judged
// from its header (the decoder's rows, the coefficients of a file of several scans, the images
// drawn, the encoders and their outputs), before any of it is taken. An original whose header
// cannot be read counts for its data alone: its conversion fails before it takes more.
std::int64_t conversionMemory(const Original& original, const OutputSettings& reduced,
                              const OutputSettings& thumbnail);

// readOriginal, then convertOriginal. Writes nothing; safe to call from several threads at
// once when the file layer is.
ConvertedPhoto preparePhoto(platform::FileSystem& fs, const std::string& name,
                            const std::string& sourceFolder, const OutputSettings& reduced,
                            const OutputSettings& thumbnail);

// Writes a prepared photo: the reduced copy, then the thumbnail. A failed reduced copy leaves
// the thumbnail unwritten. Throws tess::Error("Cannot create file <path>").
void writePhoto(platform::FileSystem& fs, const std::string& name, const OutputSettings& reduced,
                const OutputSettings& thumbnail, const ConvertedPhoto& photo);

} // namespace tess::workspace
