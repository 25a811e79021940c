#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tess::platform {

// Windows file attribute values, combined by addition.
enum Attribute : std::uint32_t {
    AttrReadOnly = 1,
    AttrHidden = 2,
    AttrSystem = 4,
    AttrDirectory = 16,
    AttrArchive = 32,
};
// The answer for a path whose attributes cannot be read (INVALID_FILE_ATTRIBUTES).
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFFu;

// One key of a settings file and the value to write for it.
struct ProfileSetting {
    std::string key;
    std::string value;
};

struct FindEntry {
    std::string name;         // as the directory holds it, letter case kept
    std::uint32_t attributes; // Windows attribute value
    // When the entry was last written; the epoch when the layer cannot tell.
    std::chrono::system_clock::time_point lastWritten{};
};

// The Windows file, profile and path functions the program relies on. Every path above this
// interface is Windows text: a drive letter, ":" and "\" ("/" is accepted too). On Windows the
// Win32 layer gives them; on POSIX systems a stand-in does (SystemFileSystem names the one built).
// All text is UTF-8.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The process's current directory as Windows text, without a trailing "\" except for a
    // drive's root ("C:\").
    virtual std::string currentDirectory() = 0;
    // Makes the folder the process's current directory; false when it is not a folder.
    virtual bool setCurrentDirectory(const std::string& path) = 0;
    // The drives, as "C:", in letter order.
    virtual std::vector<std::string> drives() = 0;
    // The folder the photo lists start at when the settings name none, as Windows text ending
    // in "\": on Windows the system's own folder. A layer on another system names a folder its
    // users keep photos in.
    virtual std::string defaultPhotoFolder() { return "C:\\WINDOWS\\"; }

    // Directory search with a "folder\*.*" pattern: "." and ".." first (none at a drive's
    // root), then the entries sorted as NTFS returns them. A missing or unreadable folder
    // gives no entries and no error.
    virtual std::vector<FindEntry> findFiles(const std::string& pattern) = 0;
    // GetFileAttributes: the value, or kInvalidAttributes.
    virtual std::uint32_t attributes(const std::string& path) = 0;
    // True when the path names an existing file (a folder does not count).
    virtual bool fileExists(const std::string& path) = 0;
    // True when the path names an existing folder.
    virtual bool directoryExists(const std::string& path) = 0;
    // True when both paths name the same existing file.
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;

    // DeleteFile: fails on a missing path, a read-only file or a folder. A link is deleted,
    // never its target.
    virtual bool deleteFile(const std::string& path) = 0;
    // MoveFile without replacing: fails when the new name is taken (in any letter case, unless
    // it is the same file renamed in case only) or holds a character Windows forbids.
    virtual bool moveFile(const std::string& from, const std::string& to) = 0;

    // Reads a whole file; throws tess::Error("Cannot open file <path>") with the path as given.
    virtual std::vector<std::uint8_t> readFile(const std::string& path) = 0;
    // Reads a whole file of at most maxSize bytes; nothing for a bigger file, which this
    // implementation tells before reading it. Fails as readFile does.
    virtual std::optional<std::vector<std::uint8_t>> readFileUpTo(const std::string& path,
                                                                  std::size_t maxSize) {
        std::vector<std::uint8_t> data = readFile(path);
        if (data.size() > maxSize) {
            return std::nullopt;
        }
        return data;
    }
    // Creates or replaces a file through a temporary file in the same folder renamed over the
    // old one, so a failure never leaves a truncated file or the temporary behind. A read-only
    // file is not replaced. Throws tess::Error("Cannot create file <path>").
    virtual void writeFile(const std::string& path, const void* data, std::size_t size) = 0;
    // Writes as writeFile does, to the entry of exactly the path's last name: where a folder
    // tells letter case apart and has no entry of that exact name, a new file of that name is
    // made, beside any entry whose name differs from it only in letter case (which writeFile
    // would replace). Where names ignore letter case, as on Windows, this is writeFile.
    virtual void writeFileExactName(const std::string& path, const void* data, std::size_t size) {
        writeFile(path, data, size);
    }

    // Several keys of one section read with one read of the file: each value (at most 2047
    // characters), or nothing when the file, the section or the key is missing. A file in UTF-16
    // (byte-order mark FF FE or FE FF) is read as such; a value that is not UTF-8 is read as
    // Windows-1252.
    virtual std::vector<std::optional<std::string>>
    getProfileStrings(const std::string& section, const std::vector<std::string>& keys,
                      const std::string& file) = 0;
    // Several keys written with one write of the file, which keeps its encoding. A key whose
    // value already reads back as given keeps its bytes. A key whose value cannot be stored (a
    // line break in it) keeps what the file holds, and the others are written all the same.
    // False when the file could not be written or a key was refused.
    virtual bool writeProfileStrings(const std::string& section,
                                     const std::vector<ProfileSetting>& settings,
                                     const std::string& file) = 0;
};

} // namespace tess::platform
