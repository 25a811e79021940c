#pragma once

#include "platform/PosixFileSystem.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tess::test {

// A scratch folder, removed with everything in it when the test ends.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tess-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        // Read-only leftovers would not stop root, but would stop anyone else.
        for (auto& entry : std::filesystem::recursive_directory_iterator(m_path, ec))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Host path of the folder, or of a name inside it.
    std::string host(const std::string& name = {}) const {
        return name.empty() ? m_path : m_path + "/" + name;
    }
    // The same as Windows text (C:\tmp\...), with no trailing "\".
    std::string win(const std::string& name = {}) const {
        return platform::PosixFileSystem::windowsPath(host(name));
    }

    std::string mkdir(const std::string& name) const {
        std::filesystem::create_directories(host(name));
        return host(name);
    }
    void write(const std::string& name, const std::string& content = "x") const {
        std::ofstream(host(name), std::ios::binary) << content;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(host(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(host(name)); }

private:
    std::string m_path;
};

} // namespace tess::test
