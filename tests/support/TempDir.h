#pragma once

#include "TempFolder.h"

#include <filesystem>
#include <string>

namespace tess::test {

// A scratch folder, removed with everything in it when the test ends, with short names for what
// the workspace tests do most.
class TempDir : public platform::test::TempFolder {
public:
    // Host path of the folder, or of a name inside it.
    std::string host(const std::string& name = {}) const { return hostPath(name); }
    // The same as Windows text (C:\tmp\...), with no trailing "\".
    std::string win(const std::string& name = {}) const { return windowsPath(name); }

    std::string mkdir(const std::string& name) const {
        std::filesystem::create_directories(host(name));
        return host(name);
    }
    void write(const std::string& name, const std::string& content = "x") const {
        makeFile(name, content);
    }
    std::string read(const std::string& name) const { return contents(name); }
};

} // namespace tess::test
