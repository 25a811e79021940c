#pragma once

#include <cstdint>

namespace tess::platform {

// The machine's physical memory in bytes, or 0 when the system does not tell.
std::uint64_t physicalMemory();

} // namespace tess::platform
