#include "FakeFileSystem.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tess::test {
namespace {

// Folders are kept without a trailing "\" except for the drives' roots.
std::string folderKey(std::string path) {
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

void unexpected(const char* function) {
    ADD_FAILURE() << "FileSystem::" << function << " is not expected here";
}

} // namespace

FakeFileSystem::FakeFileSystem() {
    m_folders.insert("C:\\");
    m_folders.insert("D:\\");
}

void FakeFileSystem::addFolder(const std::string& path) {
    std::string key = folderKey(path);
    while (key.size() > 3 && m_folders.insert(key).second)
        key = key.substr(0, std::max<std::size_t>(key.rfind('\\'), 3));
}

bool FakeFileSystem::setCurrentDirectory(const std::string& path) {
    if (!directoryExists(path))
        return false;
    m_current = folderKey(path);
    return true;
}

std::vector<tess::platform::FindEntry> FakeFileSystem::findFiles(const std::string& pattern) {
    const std::string suffix = "\\*.*";
    if (pattern.size() < suffix.size() ||
        pattern.compare(pattern.size() - suffix.size(), suffix.size(), suffix) != 0) {
        ADD_FAILURE() << "unexpected search pattern " << pattern;
        return {};
    }
    const std::string folder = folderKey(pattern.substr(0, pattern.size() - suffix.size() + 1));
    if (!m_folders.count(folder))
        return {};
    std::vector<tess::platform::FindEntry> found;
    const bool root = folder.size() == 3;
    if (!root) {
        found.push_back({".", tess::platform::AttrDirectory});
        found.push_back({"..", tess::platform::AttrDirectory});
    }
    const std::string prefix = root ? folder : folder + '\\';
    for (const std::string& candidate : m_folders) {
        if (candidate.size() > prefix.size() && candidate.compare(0, prefix.size(), prefix) == 0 &&
            candidate.find('\\', prefix.size()) == std::string::npos)
            found.push_back({candidate.substr(prefix.size()), tess::platform::AttrDirectory});
    }
    // A file among the folders, which the folder tree must leave out.
    found.push_back({"readme.txt", tess::platform::AttrArchive});
    return found;
}

bool FakeFileSystem::directoryExists(const std::string& path) {
    return m_folders.count(folderKey(path)) != 0;
}

std::uint32_t FakeFileSystem::attributes(const std::string&) {
    unexpected("attributes");
    return tess::platform::kInvalidAttributes;
}

bool FakeFileSystem::fileExists(const std::string& path) {
    const std::lock_guard lock(m_filesMutex);
    return files.count(path) != 0;
}

bool FakeFileSystem::sameFile(const std::string& a, const std::string& b) {
    return a == b && fileExists(a);
}

bool FakeFileSystem::deleteFile(const std::string& path) {
    const std::lock_guard lock(m_filesMutex);
    return files.erase(path) != 0;
}

bool FakeFileSystem::moveFile(const std::string&, const std::string&) {
    unexpected("moveFile");
    return false;
}

std::vector<std::uint8_t> FakeFileSystem::readFile(const std::string& path) {
    const std::lock_guard lock(m_filesMutex);
    const auto found = files.find(path);
    if (found == files.end())
        throw Error("Cannot open file " + path);
    return found->second;
}

std::optional<std::vector<std::uint8_t>> FakeFileSystem::readFileUpTo(const std::string& path,
                                                                      std::size_t maxSize) {
    {
        const std::lock_guard lock(m_filesMutex);
        const auto found = files.find(path);
        if (found != files.end() && found->second.size() > maxSize)
            return std::nullopt;
    }
    return readFile(path);
}

void FakeFileSystem::writeFile(const std::string& path, const void* data, std::size_t size) {
    const std::lock_guard lock(m_filesMutex);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    files[path].assign(bytes, bytes + size);
}

std::vector<std::optional<std::string>>
FakeFileSystem::getProfileStrings(const std::string&, const std::vector<std::string>& keys,
                                  const std::string&) {
    unexpected("getProfileStrings");
    return std::vector<std::optional<std::string>>(keys.size());
}

bool FakeFileSystem::writeProfileStrings(const std::string&,
                                         const std::vector<tess::platform::ProfileSetting>&,
                                         const std::string&) {
    unexpected("writeProfileStrings");
    return false;
}

} // namespace tess::test
