#pragma once

// The file layer of the system the program is built for, named once: the program, its tools
// and its tests create a SystemFileSystem and never name the implementation.
#ifdef _WIN32
#include "platform/Win32FileSystem.h"
#else
#include "platform/PosixFileSystem.h"
#endif

namespace tess::platform {

#ifdef _WIN32
using SystemFileSystem = Win32FileSystem;
#else
using SystemFileSystem = PosixFileSystem;
#endif

} // namespace tess::platform
