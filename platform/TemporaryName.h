#pragma once

#include <string>

namespace tess::platform {

// A name for a temporary file that no one else uses: ".tess-<random per process>-<count>.tmp".
// A whole file is written under such a name in its folder, then renamed over the old one.
std::string temporaryFileName();

} // namespace tess::platform
