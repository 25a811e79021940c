#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tess::platform::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tess-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    // The tests compare host paths, so the folder is named without links on the way.
    m_host = fs::canonical(pattern).string();
}

TempFolder::~TempFolder() {
    // Folders made read-only by a test must be writable again before their entries can go.
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(m_host, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
    }
    fs::remove_all(m_host, error);
}

std::string TempFolder::windows() const {
    std::string text = "C:" + m_host;
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::string TempFolder::hostPath(const std::string& name) const {
    return name.empty() ? m_host : m_host + "/" + name;
}

std::string TempFolder::windowsPath(const std::string& name) const {
    std::string text = name;
    std::replace(text.begin(), text.end(), '/', '\\');
    return name.empty() ? windows() : windows() + "\\" + text;
}

void TempFolder::makeFile(const std::string& name, const std::string& contents, mode_t mode) const {
    const std::string path = hostPath(name);
    {
        std::ofstream out(path, std::ios::binary);
        out << contents;
        if (!out) {
            throw std::runtime_error("cannot write " + path);
        }
    }
    fs::permissions(path, static_cast<fs::perms>(mode));
}

void TempFolder::makeFolder(const std::string& name, mode_t mode) const {
    const std::string path = hostPath(name);
    fs::create_directory(path);
    fs::permissions(path, static_cast<fs::perms>(mode));
}

void TempFolder::makeLink(const std::string& name, const std::string& target) const {
    fs::create_symlink(target, hostPath(name));
}

void TempFolder::setMode(const std::string& name, mode_t mode) const {
    fs::permissions(hostPath(name), static_cast<fs::perms>(mode));
}

bool TempFolder::exists(const std::string& name) const {
    struct stat st {};
    return ::lstat(hostPath(name).c_str(), &st) == 0;
}

bool TempFolder::isLink(const std::string& name) const {
    return fs::is_symlink(hostPath(name));
}

std::string TempFolder::contents(const std::string& name) const {
    std::ifstream in(hostPath(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

mode_t TempFolder::mode(const std::string& name) const {
    struct stat st {};
    if (::lstat(hostPath(name).c_str(), &st) != 0) {
        ADD_FAILURE() << "missing " << name;
    }
    return st.st_mode & 07777;
}

std::vector<std::string> TempFolder::names(const std::string& folder) const {
    std::vector<std::string> result;
    for (const auto& entry : fs::directory_iterator(hostPath(folder))) {
        result.push_back(entry.path().filename().string());
    }
    std::sort(result.begin(), result.end());
    return result;
}

ScopedUmask::ScopedUmask(mode_t mask) : m_old(::umask(mask)) {}

ScopedUmask::~ScopedUmask() {
    ::umask(m_old);
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& hostFolder)
    : m_old(fs::current_path().string()) {
    fs::current_path(hostFolder);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
    std::error_code error;
    fs::current_path(m_old, error);
}

} // namespace tess::platform::test
