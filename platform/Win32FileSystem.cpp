#include "platform/Win32FileSystem.h"

#include "platform/Error.h"
#include "platform/NativeFiles.h"
#include "platform/TemporaryName.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cwctype>
#include <memory>
#include <optional>
#include <utility>

namespace tess::platform {

namespace {

constexpr DWORD kKnownAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                   FILE_ATTRIBUTE_ARCHIVE;
// From this length on a path is given in its "\\?\" form: a folder's path may not be longer than
// MAX_PATH less room for an 8.3 name.
constexpr std::size_t kLongPath = MAX_PATH - 12;

std::wstring wide(std::string_view text) {
    const std::u16string units = utf8ToUtf16Units(text);
    return std::wstring(units.begin(), units.end());
}

std::string utf8(std::wstring_view text) {
    return utf16UnitsToUtf8(std::u16string(text.begin(), text.end()));
}

bool startsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool isDriveLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// A full path without its "\\?\" form: "\\?\C:\x" is "C:\x", "\\?\UNC\srv\x" is "\\srv\x".
std::wstring withoutPrefix(std::wstring path) {
    if (startsWith(path, L"\\\\?\\UNC\\")) {
        return L"\\" + path.substr(7);
    }
    if (startsWith(path, L"\\\\?\\")) {
        return path.substr(4);
    }
    return path;
}

// The full path Windows makes of a path: resolved against the current directory, "/" turned
// into "\", "." and ".." and the trailing dots and blanks of each name dropped; in its "\\?\"
// form when long. Nothing for a device ("\\.\..." or a name such as NUL), a "\\?\" path that
// names neither a drive nor a share, or a path Windows cannot complete.
std::optional<std::wstring> fullPath(std::string_view path) {
    std::wstring given = wide(path);
    if (given.empty() || given.find(L'\0') != std::wstring::npos) {
        return std::nullopt;
    }
    // Windows takes "/" for "\"; said so here, a path starting with "/" is not taken for a Linux
    // path under Wine.
    std::replace(given.begin(), given.end(), L'/', L'\\');
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            return std::nullopt;
        }
        if (length < full.size()) {
            full.resize(length);
            break;
        }
        full.resize(length);
    }
    if (startsWith(full, L"\\\\?\\")) {
        const std::wstring_view rest = std::wstring_view(full).substr(4);
        const bool drive =
            rest.size() >= 3 && isDriveLetter(rest[0]) && rest.substr(1, 2) == L":\\";
        if (!drive && !startsWith(rest, L"UNC\\")) {
            return std::nullopt;
        }
        return full;
    }
    if (startsWith(full, L"\\\\.\\") || startsWith(full, L"\\??\\")) {
        return std::nullopt;
    }
    if (full.size() < kLongPath) {
        return full;
    }
    return startsWith(full, L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

// A file time (100-nanosecond steps since 1601) on the system clock (seconds since 1970).
std::chrono::system_clock::time_point timeOf(const FILETIME& time) {
    using Ticks = std::chrono::duration<long long, std::ratio<1, 10'000'000>>;
    constexpr long long kTicksFrom1601To1970 = 116'444'736'000'000'000LL;
    const long long ticks = static_cast<long long>(
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            Ticks(ticks - kTicksFrom1601To1970)));
}

// Where the last name of a full path starts.
std::size_t nameStart(std::wstring_view full) {
    return full.rfind(L'\\') + 1;
}

// Whether a full path can name a file to create or rename to: its last name is one Windows
// accepts (no ":", which would name a stream of another file).
bool namesNewFile(std::wstring_view full) {
    return isValidFileName(utf8(full.substr(nameStart(full))));
}

// The folder of a full path, ending in "\".
std::wstring folderOf(std::wstring_view full) {
    return std::wstring(full.substr(0, nameStart(full)));
}

bool isRoot(std::wstring_view full) {
    const std::wstring path = withoutPrefix(std::wstring(full));
    if (path.size() == 3 && isDriveLetter(path[0]) && path.substr(1) == L":\\") {
        return true;
    }
    // "\\server\share" with or without its "\".
    if (!startsWith(path, L"\\\\")) {
        return false;
    }
    const std::size_t server = path.find(L'\\', 2);
    const std::size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
    return server != std::wstring::npos &&
           (share == std::wstring::npos || share == path.size() - 1);
}

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            close();
            m_handle = std::exchange(other.m_handle, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    ~Handle() { close(); }

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    // Closes the handle and reports whether the close succeeded.
    bool close() {
        const HANDLE handle = std::exchange(m_handle, INVALID_HANDLE_VALUE);
        return handle == INVALID_HANDLE_VALUE || handle == nullptr || CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : m_handle(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (valid()) {
            FindClose(m_handle);
        }
    }
    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

HANDLE findFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
    return FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                            FIND_FIRST_EX_LARGE_FETCH);
}

std::uint32_t attributesOf(const std::wstring& full) {
    const DWORD value = GetFileAttributesW(full.c_str());
    return value == INVALID_FILE_ATTRIBUTES ? kInvalidAttributes : value & kKnownAttributes;
}

// Opens an existing file or folder to ask about it, following links.
Handle openToQuery(const std::wstring& full) {
    return Handle(CreateFileW(full.c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool writeAll(HANDLE file, const void* data, std::size_t size, const OVERLAPPED* at = nullptr) {
    const auto* bytes = static_cast<const char*>(data);
    std::uint64_t offset = at ? (std::uint64_t(at->OffsetHigh) << 32) | at->Offset : 0;
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        OVERLAPPED place{};
        place.Offset = static_cast<DWORD>(offset);
        place.OffsetHigh = static_cast<DWORD>(offset >> 32);
        if (!WriteFile(file, bytes, chunk, &written, at ? &place : nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        size -= written;
        offset += written;
    }
    return true;
}

// The temporary file is deleted unless it has been renamed into place (or must be kept).
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : m_path(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!m_kept) {
            DeleteFileW(m_path.c_str());
        }
    }
    const std::wstring& path() const { return m_path; }
    void keep() { m_kept = true; }

private:
    std::wstring m_path;
    bool m_kept = false;
};

// The name a file already has, letter case as the folder holds it.
std::wstring storedSpelling(const std::wstring& full) {
    WIN32_FIND_DATAW data;
    FindHandle found(findFirst(full, data));
    return found.valid() ? folderOf(full) + data.cFileName : full;
}

// The path a link leads to, in "\\?\" form.
std::optional<std::wstring> finalPath(const std::wstring& full) {
    const Handle file = openToQuery(full);
    if (!file.valid()) {
        return std::nullopt;
    }
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(file.get(), path.data(), static_cast<DWORD>(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return std::nullopt;
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);
    }
}

// A write the folder or another program's open handle refuses, which writing in place may still
// get through.
bool isRefusal(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

// Creates or replaces a file through a temporary file in its folder: written, flushed, then put
// in the old file's place by ReplaceFileW, which keeps the old file's attributes, security and
// name, or renamed into place for a new file. A link is followed, so the file it leads to is
// replaced. The old file is never touched on failure, and the temporary never stays.
WriteOutcome replaceFile(std::wstring target, const void* data, std::size_t size) {
    DWORD old = GetFileAttributesW(target.c_str());
    const bool replacing = old != INVALID_FILE_ATTRIBUTES;
    if (!replacing && GetLastError() != ERROR_FILE_NOT_FOUND) {
        return WriteOutcome::Failed;
    }
    if (replacing && (old & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        const auto linked = finalPath(target);
        if (!linked) {
            return WriteOutcome::Failed;
        }
        target = *linked;
        old = GetFileAttributesW(target.c_str());
    } else if (replacing) {
        target = storedSpelling(target);
    }
    if (replacing && (old == INVALID_FILE_ATTRIBUTES ||
                      (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)) {
        return WriteOutcome::Failed;
    }

    const std::wstring folder = folderOf(target);
    std::unique_ptr<TemporaryFile> temporary;
    Handle file;
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        std::wstring name = folder + wide(temporaryFileName());
        file = Handle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid()) {
            temporary = std::make_unique<TemporaryFile>(std::move(name));
        } else if (const DWORD error = GetLastError();
                   error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return isRefusal(error) ? WriteOutcome::Refused : WriteOutcome::Failed;
        }
    }
    if (!temporary || !writeAll(file.get(), data, size) || !FlushFileBuffers(file.get()) ||
        !file.close()) {
        return WriteOutcome::Failed;
    }
    const wchar_t* from = temporary->path().c_str();
    constexpr DWORD kMove = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!replacing) {
        if (MoveFileExW(from, target.c_str(), kMove)) {
            temporary->keep();
            return WriteOutcome::Written;
        }
        return isRefusal(GetLastError()) ? WriteOutcome::Refused : WriteOutcome::Failed;
    }
    if (ReplaceFileW(target.c_str(), from, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
        temporary->keep();
        return WriteOutcome::Written;
    }
    // Where the volume cannot replace (some shares), a rename over the old file, the temporary
    // carrying the old file's attributes.
    const DWORD replaceError = GetLastError();
    SetFileAttributesW(from, old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    if (MoveFileExW(from, target.c_str(), kMove)) {
        temporary->keep();
        return WriteOutcome::Written;
    }
    const DWORD moveError = GetLastError();
    if (replaceError == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
        GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        // The old file is gone already: the new contents stay under the temporary name rather
        // than not at all.
        temporary->keep();
        return WriteOutcome::Failed;
    }
    return isRefusal(moveError) ? WriteOutcome::Refused : WriteOutcome::Failed;
}

class Win32PatchTarget final : public PatchTarget {
public:
    explicit Win32PatchTarget(Handle file) : m_file(std::move(file)) {}

    bool reserve(std::uint64_t size) override {
        FILE_ALLOCATION_INFO info{};
        info.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
        if (SetFileInformationByHandle(m_file.get(), FileAllocationInfo, &info, sizeof info)) {
            return true;
        }
        const DWORD error = GetLastError();
        return error != ERROR_DISK_FULL && error != ERROR_HANDLE_DISK_FULL &&
               error != ERROR_FILE_TOO_LARGE;
    }
    bool write(std::uint64_t offset, std::string_view bytes) override {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        return writeAll(m_file.get(), bytes.data(), bytes.size(), &at);
    }
    bool sync() override { return FlushFileBuffers(m_file.get()) != 0; }
    bool resize(std::uint64_t size) override {
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(size);
        return SetFilePointerEx(m_file.get(), end, nullptr, FILE_BEGIN) &&
               SetEndOfFile(m_file.get());
    }

private:
    Handle m_file;
};

} // namespace

ReadResult readNativeFile(const std::string& nativePath, std::vector<std::uint8_t>& contents,
                          std::size_t maxSize) {
    const auto full = fullPath(nativePath);
    if (!full) {
        return ReadResult::Failed;
    }
    Handle file(CreateFileW(
        full->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                              : ReadResult::Failed;
    }
    // Consoles, pipes and other devices are no files.
    LARGE_INTEGER size{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size)) {
        return ReadResult::Failed;
    }
    if (static_cast<std::uint64_t>(size.QuadPart) > maxSize) {
        return ReadResult::TooBig;
    }
    contents.clear();
    contents.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) {
            return ReadResult::Failed;
        }
        if (count == 0) {
            return ReadResult::Read;
        }
        if (count > maxSize - contents.size()) {
            return ReadResult::TooBig;
        }
        contents.insert(contents.end(), buffer, buffer + count);
    }
}

WriteOutcome replaceNativeFile(const std::string& nativePath, const void* data, std::size_t size) {
    const auto target = fullPath(nativePath);
    if (!target || isRoot(*target) || !namesNewFile(*target)) {
        return WriteOutcome::Failed;
    }
    return replaceFile(*target, data, size);
}

std::unique_ptr<PatchTarget> openForRewrite(const std::string& nativePath) {
    const auto full = fullPath(nativePath);
    if (!full) {
        return nullptr;
    }
    Handle file(CreateFileW(full->c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return nullptr;
    }
    return std::make_unique<Win32PatchTarget>(std::move(file));
}

std::string Win32FileSystem::currentDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(length);
    }
    path = withoutPrefix(std::move(path));
    if (path.size() > 1 && path.back() == L'\\' && !isRoot(path)) {
        path.pop_back();
    }
    // The drive letter as the program writes it, whatever the folder was typed as.
    if (path.size() >= 2 && path[1] == L':') {
        path[0] = static_cast<wchar_t>(std::towupper(path[0]));
    }
    return utf8(path);
}

bool Win32FileSystem::setCurrentDirectory(const std::string& path) {
    const auto full = fullPath(path);
    return full && SetCurrentDirectoryW(full->c_str());
}

std::vector<std::string> Win32FileSystem::drives() {
    std::vector<std::string> result;
    const DWORD mask = GetLogicalDrives();
    for (int drive = 0; drive < 26; ++drive) {
        if ((mask & (1u << drive)) != 0) {
            result.push_back(std::string(1, static_cast<char>('A' + drive)) + ":");
        }
    }
    return result;
}

std::vector<FindEntry> Win32FileSystem::findFiles(const std::string& pattern) {
    const SearchPattern parts = splitSearchPattern(pattern);
    const bool wildcards = hasWildcards(parts.name);
    if (parts.name.empty() || (!wildcards && (parts.name == "." || parts.name == ".."))) {
        return {};
    }
    auto folder = fullPath(parts.folder.empty() ? std::string(".") : parts.folder);
    if (!folder) {
        return {};
    }
    const std::uint32_t own = attributesOf(*folder);
    if (own == kInvalidAttributes || (own & AttrDirectory) == 0) {
        return {};
    }
    if (folder->back() != L'\\') {
        *folder += L'\\';
    }

    std::vector<FindEntry> result;
    if (wildcards && !isRoot(*folder)) {
        // Both "." and ".." carry the searched folder's own attributes, as NTFS reports them.
        for (const char* special : {".", ".."}) {
            if (matchesPattern(special, parts.name)) {
                result.push_back({special, own});
            }
        }
    }
    const std::size_t firstEntry = result.size();
    WIN32_FIND_DATAW data;
    const FindHandle search(findFirst(*folder + wide(parts.name), data));
    if (!search.valid()) {
        return result;
    }
    do {
        const std::string name = utf8(data.cFileName);
        // Windows also matches patterns against 8.3 names; only the names themselves count here,
        // as on the stand-in layer. A name a path cannot reach (a trailing dot) is left out.
        if (name == "." || name == ".." || !isSinglePathComponent(name) ||
            (wildcards && !matchesPattern(name, parts.name))) {
            continue;
        }
        result.push_back(
            {name, data.dwFileAttributes & kKnownAttributes, timeOf(data.ftLastWriteTime)});
    } while (FindNextFileW(search.get(), &data));
    std::sort(result.begin() + static_cast<std::ptrdiff_t>(firstEntry), result.end(),
              [](const FindEntry& a, const FindEntry& b) { return ntfsNameLess(a.name, b.name); });
    return result;
}

std::uint32_t Win32FileSystem::attributes(const std::string& path) {
    const auto full = fullPath(path);
    return full ? attributesOf(*full) : kInvalidAttributes;
}

bool Win32FileSystem::fileExists(const std::string& path) {
    const std::uint32_t value = attributes(path);
    return value != kInvalidAttributes && (value & AttrDirectory) == 0;
}

bool Win32FileSystem::directoryExists(const std::string& path) {
    const std::uint32_t value = attributes(path);
    return value != kInvalidAttributes && (value & AttrDirectory) != 0;
}

bool Win32FileSystem::sameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION info[2]{};
    const std::string* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        const auto full = fullPath(*paths[i]);
        if (!full) {
            return false;
        }
        const Handle file = openToQuery(*full);
        if (!file.valid() || !GetFileInformationByHandle(file.get(), &info[i])) {
            return false;
        }
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
}

bool Win32FileSystem::deleteFile(const std::string& path) {
    const auto full = fullPath(path);
    if (!full) {
        return false;
    }
    // Read-only is checked here too, so that it holds where the system would let it go.
    const DWORD value = GetFileAttributesW(full->c_str());
    if (value == INVALID_FILE_ATTRIBUTES ||
        (value & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return false;
    }
    return DeleteFileW(full->c_str()) != 0;
}

bool Win32FileSystem::moveFile(const std::string& from, const std::string& to) {
    const auto source = fullPath(from);
    const auto target = fullPath(to);
    if (!source || !target || isRoot(*target) || !namesNewFile(*target)) {
        return false;
    }
    return MoveFileExW(source->c_str(), target->c_str(), MOVEFILE_COPY_ALLOWED) != 0;
}

std::vector<std::uint8_t> Win32FileSystem::readFile(const std::string& path) {
    return readWholeFile(path, path);
}

std::optional<std::vector<std::uint8_t>> Win32FileSystem::readFileUpTo(const std::string& path,
                                                                       std::size_t maxSize) {
    return readWholeFileUpTo(path, path, maxSize);
}

void Win32FileSystem::writeFile(const std::string& path, const void* data, std::size_t size) {
    if (replaceNativeFile(path, data, size) != WriteOutcome::Written) {
        throw Error("Cannot create file " + singleLineText(path));
    }
}

std::vector<std::optional<std::string>>
Win32FileSystem::getProfileStrings(const std::string& section, const std::vector<std::string>& keys,
                                   const std::string& file) {
    return readProfileFile(file, section, keys);
}

bool Win32FileSystem::writeProfileStrings(const std::string& section,
                                          const std::vector<ProfileSetting>& settings,
                                          const std::string& file) {
    return writeProfileFile(file, section, settings);
}

std::string Win32FileSystem::windowsPath(const std::string& nativePath) {
    const auto full = fullPath(nativePath);
    if (!full) {
        std::string text = nativePath;
        std::replace(text.begin(), text.end(), '/', '\\');
        return text;
    }
    return utf8(withoutPrefix(*full));
}

} // namespace tess::platform
