#pragma once

#include "platform/FileSystem.h"

#include <mutex>

namespace tess::platform {

// Stands in for Windows on POSIX systems. Drive C: is the host root "/": C:\home\user\Foto is
// /home/user/Foto. A path component that does not exist as typed is looked up ignoring letter
// case, and a name whose bytes are not UTF-8 also by its Windows-1252 reading. Read-only (no write
// permission bit at all) is enforced here, also for root.
class PosixFileSystem : public FileSystem {
public:
    std::string currentDirectory() override;
    bool setCurrentDirectory(const std::string& path) override;
    std::vector<std::string> drives() override;
    // The user's pictures folder (XDG_PICTURES_DIR of user-dirs.dirs in $XDG_CONFIG_HOME or
    // ~/.config) when it exists, else the home folder; looked up at the first call and kept.
    std::string defaultPhotoFolder() override;
    std::vector<FindEntry> findFiles(const std::string& pattern) override;
    std::uint32_t attributes(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    bool deleteFile(const std::string& path) override;
    bool moveFile(const std::string& from, const std::string& to) override;
    std::vector<std::uint8_t> readFile(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> readFileUpTo(const std::string& path,
                                                          std::size_t maxSize) override;
    void writeFile(const std::string& path, const void* data, std::size_t size) override;
    void writeFileExactName(const std::string& path, const void* data, std::size_t size) override;
    std::vector<std::optional<std::string>> getProfileStrings(const std::string& section,
                                                              const std::vector<std::string>& keys,
                                                              const std::string& file) override;
    bool writeProfileStrings(const std::string& section,
                             const std::vector<ProfileSetting>& settings,
                             const std::string& file) override;

    // The host path a Windows path names (components matched ignoring case where needed);
    // empty when the path names no host location (another drive, say).
    std::string hostPath(const std::string& windowsPath);
    // The Windows text for a host path: /tmp/x is C:\tmp\x.
    static std::string windowsPath(const std::string& hostPath);

private:
    std::once_flag m_defaultPhotoFolderOnce;
    std::string m_defaultPhotoFolder;
};

} // namespace tess::platform
