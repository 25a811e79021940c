#pragma once

#include <string>

namespace tess::workspace {

// What the workspace needs of the project holder, handed over as a value when it is built.
struct Project {
    std::string NomeDitta; // shown after "Ditta: " in the title
    std::string FileIni;   // the settings file's full path
};

} // namespace tess::workspace
