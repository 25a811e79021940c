#include "TempFolder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace tess::platform::test {

namespace fs = std::filesystem;

namespace {

// A path of this system from UTF-8 text (on Windows a plain string would be read in the ANSI
// code page).
fs::path native(const std::string& path) {
    return fs::path(std::u8string(path.begin(), path.end()));
}

std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

TempFolder::TempFolder() {
    std::random_device random;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100 && m_host.empty(); ++attempt) {
        const fs::path candidate = base / ("tess-" + std::to_string(random() % 1000000000u));
        if (fs::create_directory(candidate)) {
            // The tests compare host paths, so the folder is named without links on the way.
            m_host = utf8(fs::canonical(candidate));
        }
    }
    if (m_host.empty()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

TempFolder::~TempFolder() {
    // What a test made read-only must be writable again before it can go.
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(native(m_host), error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_symlink(error)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
    }
    fs::remove_all(native(m_host), error);
}

std::string TempFolder::windows() const {
#ifdef _WIN32
    std::string text = m_host;
#else
    std::string text = "C:" + m_host;
#endif
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::string TempFolder::hostPath(const std::string& name) const {
#ifdef _WIN32
    return windowsPath(name);
#else
    return name.empty() ? m_host : m_host + "/" + name;
#endif
}

std::string TempFolder::windowsPath(const std::string& name) const {
    std::string text = name;
    std::replace(text.begin(), text.end(), '/', '\\');
    return name.empty() ? windows() : windows() + "\\" + text;
}

void TempFolder::makeFile(const std::string& name, const std::string& contents, mode_t mode) const {
    const fs::path path = native(hostPath(name));
    {
        std::ofstream out(path, std::ios::binary);
        out << contents;
        if (!out) {
            throw std::runtime_error("cannot write " + name);
        }
    }
    fs::permissions(path, static_cast<fs::perms>(mode));
}

void TempFolder::makeFolder(const std::string& name, mode_t mode) const {
    const fs::path path = native(hostPath(name));
    fs::create_directory(path);
    fs::permissions(path, static_cast<fs::perms>(mode));
}

void TempFolder::makeLink(const std::string& name, const std::string& target) const {
    fs::create_symlink(native(target), native(hostPath(name)));
}

void TempFolder::makeHardLink(const std::string& name, const std::string& target) const {
    fs::create_hard_link(native(hostPath(target)), native(hostPath(name)));
}

void TempFolder::setMode(const std::string& name, mode_t mode) const {
    fs::permissions(native(hostPath(name)), static_cast<fs::perms>(mode));
}

bool TempFolder::exists(const std::string& name) const {
    std::error_code error;
    return fs::exists(fs::symlink_status(native(hostPath(name)), error));
}

bool TempFolder::isLink(const std::string& name) const {
    return fs::is_symlink(native(hostPath(name)));
}

std::string TempFolder::contents(const std::string& name) const {
    std::ifstream in(native(hostPath(name)), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

mode_t TempFolder::mode(const std::string& name) const {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(native(hostPath(name)), error);
    if (!fs::exists(status)) {
        ADD_FAILURE() << "missing " << name;
    }
    return static_cast<mode_t>(status.permissions() & fs::perms::mask);
}

std::vector<std::string> TempFolder::names(const std::string& folder) const {
    std::vector<std::string> result;
    for (const auto& entry : fs::directory_iterator(native(hostPath(folder)))) {
        result.push_back(utf8(entry.path().filename()));
    }
    std::sort(result.begin(), result.end());
    return result;
}

#ifndef _WIN32
ScopedUmask::ScopedUmask(mode_t mask) : m_old(::umask(mask)) {}

ScopedUmask::~ScopedUmask() {
    ::umask(m_old);
}
#endif

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& hostFolder)
    : m_old(utf8(fs::current_path())) {
    fs::current_path(native(hostFolder));
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
    std::error_code error;
    fs::current_path(native(m_old), error);
}

bool runningUnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

} // namespace tess::platform::test
