#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// Writing whole files on POSIX hosts so that a failure never leaves a half-written file.
namespace tess::platform {

// Whether a file with this mode is read-only as Windows sees it: no write permission bit at all.
// Checked by the layer itself, because POSIX permissions do not stop root.
inline bool isReadOnlyMode(mode_t mode) {
    return (mode & 0222) == 0;
}

// The folder of a host path: "/" for a file in the root, "." for a bare name.
std::string hostFolderOf(const std::string& hostPath);

// Creates or replaces the file at a host path: the data goes to a temporary file in the same
// folder, is synced, and the temporary is renamed over the old file. A link is followed, so the
// file it points to is replaced and the link stays; a link that points nowhere is replaced by the
// file. A new file gets 0666 less the umask; a replaced
// file keeps its permission bits. Fails (false) without touching an old file and without leaving
// the temporary behind when the target is read-only or not a plain file, the folder is missing,
// or any write fails.
bool replaceFileContents(const std::string& hostPath, const void* data, std::size_t size);

// Writes a file as replaceFileContents does; when that route is refused because the folder takes
// no new file or the old file may not be renamed over (a folder the user cannot write, another
// user's file in a sticky folder), an existing writable plain file is rewritten in place, as
// Windows writes it. In place, a failed write can leave the file cut short.
bool writeFileContents(const std::string& hostPath, const void* data, std::size_t size);

} // namespace tess::platform
