#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// Writing whole files on POSIX hosts so that a failure never leaves a half-written file.
// (Built on POSIX systems only.)
namespace tess::platform {

// Whether a file with this mode is read-only as Windows sees it: no write permission bit at all.
// Checked by the layer itself, because POSIX permissions do not stop root.
inline bool isReadOnlyMode(mode_t mode) {
    return (mode & 0222) == 0;
}

// The folder of a host path: "/" for a file in the root, "." for a bare name.
std::string hostFolderOf(const std::string& hostPath);

// The replace route of the POSIX layer is replaceNativeFile (NativeFiles.h): a new file gets
// 0666 less the umask, a replaced one keeps its permission bits and, for root, its owner.

} // namespace tess::platform
