#pragma once

#include "platform/FileSystem.h"

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace tess::test {

// A file layer with drives C: and D: and only the folders a test adds, for what a real
// machine with a single drive cannot show, and whole files held in memory by their path text
// (no folder needed), for timing work without the disk. Attributes, moves and the settings
// file are not kept: asking for them fails the test. Files may be read and written from several
// threads at once, as a conversion pass does.
class FakeFileSystem : public tess::platform::FileSystem {
public:
    FakeFileSystem();

    // Adds a folder and the folders above it ("D:\Foto\2019").
    void addFolder(const std::string& path);

    std::map<std::string, std::vector<std::uint8_t>> files;

    std::string currentDirectory() override { return m_current; }
    bool setCurrentDirectory(const std::string& path) override;
    std::vector<std::string> drives() override { return {"C:", "D:"}; }
    std::vector<tess::platform::FindEntry> findFiles(const std::string& pattern) override;
    bool directoryExists(const std::string& path) override;

    std::uint32_t attributes(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    bool deleteFile(const std::string& path) override;
    bool moveFile(const std::string& from, const std::string& to) override;
    std::vector<std::uint8_t> readFile(const std::string& path) override;
    // Tells a file too big before copying it, as the real layer does.
    std::optional<std::vector<std::uint8_t>> readFileUpTo(const std::string& path,
                                                          std::size_t maxSize) override;
    void writeFile(const std::string& path, const void* data, std::size_t size) override;
    std::vector<std::optional<std::string>> getProfileStrings(const std::string& section,
                                                              const std::vector<std::string>& keys,
                                                              const std::string& file) override;
    bool writeProfileStrings(const std::string& section,
                             const std::vector<tess::platform::ProfileSetting>& settings,
                             const std::string& file) override;

private:
    std::mutex m_filesMutex; // held while `files` is read or changed through the layer
    std::set<std::string> m_folders;
    std::string m_current = "C:\\";
};

} // namespace tess::test
