#pragma once

#include "platform/FileSystem.h"

namespace tess::platform {

// The Windows file, profile and path functions over the wide-character Win32 calls. Text is
// UTF-8 inside the program and UTF-16 at each call, converted by the layer's own routines: a
// name holding a lone surrogate (NTFS allows them) is carried as that surrogate's three-byte
// form, so every name a search lists can be reached again, and bytes that are not UTF-8 are read
// as Windows-1252, as the stand-in layer reads them. A path of 248 characters or more (a
// folder's limit; 260 for a file) is given to Windows in its "\\?\" form ("\\?\UNC\" for a
// share). Paths of the device namespace (CON, NUL, "\\.\pipe\...") name nothing here.
//
// Attribute values keep only the five the program knows (read-only, hidden, system, directory,
// archive): storage details such as compressed, not indexed or a link are left out, so a
// compressed or synced folder is still a plain folder (16), as on the stand-in layer. Searches
// are sorted as NTFS sorts them ("." and ".." first, none at a drive's root) on every volume,
// also on FAT and shares, which list in their own order.
class Win32FileSystem : public FileSystem {
public:
    std::string currentDirectory() override;
    bool setCurrentDirectory(const std::string& path) override;
    std::vector<std::string> drives() override;
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
    std::vector<std::optional<std::string>> getProfileStrings(const std::string& section,
                                                              const std::vector<std::string>& keys,
                                                              const std::string& file) override;
    bool writeProfileStrings(const std::string& section,
                             const std::vector<ProfileSetting>& settings,
                             const std::string& file) override;

    // The Windows text of a path of this system: full, with "\" separators, without "\\?\".
    static std::string windowsPath(const std::string& nativePath);
};

} // namespace tess::platform
