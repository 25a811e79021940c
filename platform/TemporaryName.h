#pragma once

#include <string>
#include <string_view>

namespace tess::platform {

// A name for a temporary file that no one else uses: ".tess-<random per process>-<count>.tmp",
// the random part 16 lower-case hexadecimal digits and the count decimal. A whole file is
// written under such a name in its folder, then renamed over the old one.
std::string temporaryFileName();

// Whether a name is one temporaryFileName gives, exactly: no list shows such a file, and one left
// behind by a run that was killed may be removed.
bool isTemporaryFileName(std::string_view name);

} // namespace tess::platform
