#pragma once

#include "platform/FileSystem.h"
#include "platform/InPlaceWrite.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Whole files by a path of the system the program runs on (a host path on POSIX systems, a Win32
// path on Windows), and the parts of the file layer built on them. The layer of each system
// gives the first three over its own calls; the rest is shared.
namespace tess::platform {

enum class ReadResult { Read, Missing, Failed, TooBig };

enum class WriteOutcome {
    Written,
    Refused, // the folder takes no new file, or the old file may not be replaced
    Failed,
};

// Reads a whole plain file, unless it holds more than maxSize bytes (told before reading, and
// again should it grow meanwhile). Folders, pipes and devices are refused without waiting on
// them.
ReadResult readNativeFile(const std::string& nativePath, std::vector<std::uint8_t>& contents,
                          std::size_t maxSize = std::numeric_limits<std::size_t>::max());

// Creates or replaces a file through a temporary file in its folder, renamed over the old file
// once written and synced: a failure never leaves a cut file or the temporary. A link is
// followed, so the file it leads to is replaced. A read-only file is not replaced.
WriteOutcome replaceNativeFile(const std::string& nativePath, const void* data, std::size_t size);

// Opens an existing writable plain file for writing in place; nothing when it is missing,
// read-only (as Windows sees it) or not a plain file.
std::unique_ptr<PatchTarget> openForRewrite(const std::string& nativePath);

// FileSystem::readFile and readFileUpTo: a failure throws Error("Cannot open file <shownPath>").
std::vector<std::uint8_t> readWholeFile(const std::string& nativePath,
                                        const std::string& shownPath);
std::optional<std::vector<std::uint8_t>>
readWholeFileUpTo(const std::string& nativePath, const std::string& shownPath, std::size_t maxSize);

// FileSystem::getProfileStrings and writeProfileStrings. A write goes through a temporary file;
// where the folder refuses that, an existing file is written in place (planProfileRewrite), as
// Windows writes it.
std::vector<std::optional<std::string>> readProfileFile(const std::string& nativePath,
                                                        const std::string& section,
                                                        const std::vector<std::string>& keys);
bool writeProfileFile(const std::string& nativePath, const std::string& section,
                      const std::vector<ProfileSetting>& settings);

} // namespace tess::platform
