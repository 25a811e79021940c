#include "platform/PosixFileSystem.h"

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/NativeFiles.h"
#include "platform/PicturesFolder.h"
#include "platform/PosixHandles.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace tess::platform {

namespace {

std::string joinHost(const std::string& folder, std::string_view name) {
    std::string path = folder == "/" ? std::string() : folder;
    path += '/';
    path += name;
    return path;
}

std::string_view lastHostComponent(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The process's current directory on the host; nothing when it cannot be told (it was removed).
std::optional<std::string> hostCurrentDirectory() {
    std::string buffer(256, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return std::nullopt;
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    return buffer;
}

std::optional<PathComponents> resolve(const std::string& path) {
    const auto current = hostCurrentDirectory();
    return resolveWindowsPath(path, current ? PosixFileSystem::windowsPath(*current) : "");
}

// The entry of a folder whose name matches in any letter case, a name that is not UTF-8 read as
// Windows-1252; the first in NTFS order when several do, so the choice does not depend on the
// order the host lists them in.
std::optional<std::string> findIgnoringCase(const std::string& folder, std::string_view name) {
    DirectoryHandle dir(::opendir(folder.c_str()));
    if (!dir) {
        return std::nullopt;
    }
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view entryName = entry->d_name;
        if (entryName == "." || entryName == "..") {
            continue;
        }
        const bool same =
            sameNameIgnoringCase(entryName, name) ||
            (!isValidUtf8(entryName) && sameNameIgnoringCase(windows1252ToUtf8(entryName), name));
        if (same && (!best || ntfsNameLess(entryName, *best))) {
            best = std::string(entryName);
        }
    }
    return best;
}

// The host path of resolved components. A component that exists as typed is taken as it is,
// otherwise one that matches in another letter case; from the first component found neither way
// on, the rest is kept as typed (it names something that does not exist yet).
std::string hostPathFor(const PathComponents& components) {
    std::string host = "/";
    bool missing = false;
    for (const std::string& component : components) {
        std::string candidate = joinHost(host, component);
        if (!missing) {
            struct stat st {};
            if (::lstat(candidate.c_str(), &st) == 0) {
                host = std::move(candidate);
                continue;
            }
            if (const auto found = findIgnoringCase(host, component)) {
                host = joinHost(host, *found);
                continue;
            }
            missing = true;
        }
        host = std::move(candidate);
    }
    return host;
}

std::chrono::system_clock::time_point lastWrittenOf(const struct stat& st) {
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(st.st_mtim.tv_sec) +
            std::chrono::nanoseconds(st.st_mtim.tv_nsec)));
}

std::uint32_t attributesOf(const struct stat& st, std::string_view name) {
    std::uint32_t value = S_ISDIR(st.st_mode) ? AttrDirectory : AttrArchive;
    if (isReadOnlyMode(st.st_mode)) {
        value += AttrReadOnly;
    }
    if (!name.empty() && name.front() == '.') {
        value += AttrHidden;
    }
    return value;
}

bool statHost(const std::string& host, struct stat& st) {
    return !host.empty() && ::stat(host.c_str(), &st) == 0;
}

// Opens a plain file for reading. Anything else (a named pipe, a device, a socket, a folder) is
// refused without being opened, and the open itself never waits: a pipe put in the file's place
// meanwhile would otherwise block it until someone writes to the pipe. Sets st to the file's
// status; errno is ENOENT when nothing is there.
FileDescriptor openPlainFile(const std::string& host, struct stat& st) {
    if (host.empty()) {
        errno = ENOENT;
        return FileDescriptor();
    }
    if (::stat(host.c_str(), &st) != 0) {
        return FileDescriptor();
    }
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return FileDescriptor();
    }
    FileDescriptor fd(::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.valid() && (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))) {
        errno = EINVAL;
        return FileDescriptor();
    }
    return fd;
}

} // namespace

ReadResult readNativeFile(const std::string& host, std::vector<std::uint8_t>& contents,
                          std::size_t maxSize) {
    struct stat st {};
    FileDescriptor fd = openPlainFile(host, st);
    if (!fd.valid()) {
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    }
    if (static_cast<std::uint64_t>(st.st_size) > maxSize) {
        return ReadResult::TooBig;
    }
    contents.clear();
    contents.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return ReadResult::Failed;
        }
        if (count == 0) {
            return ReadResult::Read;
        }
        if (static_cast<std::size_t>(count) > maxSize - contents.size()) {
            return ReadResult::TooBig;
        }
        contents.insert(contents.end(), buffer, buffer + count);
    }
}

namespace {

// The home folder: $HOME when it is an absolute path, else the user's entry in the user
// database, else the root.
std::string hostHomeFolder() {
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        return home;
    }
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return "/";
}

// Where the user keeps pictures: the folder user-dirs.dirs names when it exists, else home. A
// relative XDG_CONFIG_HOME is ignored, as the base directory rules ask.
std::string hostPicturesFolder() {
    const std::string home = hostHomeFolder();
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string config =
        configHome && configHome[0] == '/' ? std::string(configHome) : joinHost(home, ".config");
    std::vector<std::uint8_t> userDirs;
    if (readNativeFile(joinHost(config, "user-dirs.dirs"), userDirs, 1 << 20) != ReadResult::Read) {
        userDirs.clear();
    }
    const auto pictures = picturesFolderFromUserDirs(
        std::string_view(reinterpret_cast<const char*>(userDirs.data()), userDirs.size()), home);
    struct stat st {};
    return pictures && statHost(*pictures, st) && S_ISDIR(st.st_mode) ? *pictures : home;
}

// Moves a plain file to another file system, as Windows does when a move leaves the volume: the
// copy is complete and synced before the original goes, and a failed copy is removed.
bool moveAcrossFileSystems(const std::string& from, const std::string& to) {
    struct stat st {};
    FileDescriptor source = openPlainFile(from, st);
    if (!source.valid()) {
        return false;
    }
    FileDescriptor target(
        ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777));
    if (!target.valid()) {
        return false;
    }
    bool copied = true;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(source.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            copied = count == 0;
            break;
        }
        for (ssize_t done = 0; copied && done < count;) {
            const ssize_t written = ::write(target.get(), buffer + done, count - done);
            if (written < 0 && errno != EINTR) {
                copied = false;
            } else if (written > 0) {
                done += written;
            }
        }
        if (!copied) {
            break;
        }
    }
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    copied = copied && ::fchmod(target.get(), st.st_mode & 07777) == 0 &&
             ::futimens(target.get(), times) == 0 && ::fsync(target.get()) == 0 && target.close();
    if (!copied || ::unlink(from.c_str()) != 0) {
        ::unlink(to.c_str());
        return false;
    }
    return true;
}

} // namespace

std::string PosixFileSystem::currentDirectory() {
    const auto current = hostCurrentDirectory();
    return current ? windowsPath(*current) : std::string();
}

bool PosixFileSystem::setCurrentDirectory(const std::string& path) {
    const std::string host = hostPath(path);
    struct stat st {};
    return statHost(host, st) && S_ISDIR(st.st_mode) && ::chdir(host.c_str()) == 0;
}

std::vector<std::string> PosixFileSystem::drives() {
    return {"C:"};
}

std::string PosixFileSystem::defaultPhotoFolder() {
    std::call_once(m_defaultPhotoFolderOnce, [this] {
        // Text that can be shown and stored, should the folder's name not be UTF-8.
        m_defaultPhotoFolder = pathTextFromBytes(windowsPath(hostPicturesFolder()));
        if (m_defaultPhotoFolder.back() != '\\') {
            m_defaultPhotoFolder += '\\';
        }
    });
    return m_defaultPhotoFolder;
}

std::vector<FindEntry> PosixFileSystem::findFiles(const std::string& pattern) {
    const SearchPattern parts = splitSearchPattern(pattern);
    if (parts.name.empty()) {
        return {};
    }
    auto folderComponents = resolve(parts.folder.empty() ? std::string(".") : parts.folder);
    if (!folderComponents) {
        return {};
    }

    // A name without wildcards finds that one entry, spelt as the folder holds it.
    if (!hasWildcards(parts.name)) {
        if (parts.name == "." || parts.name == "..") {
            return {};
        }
        const auto components = resolve(pattern);
        if (!components || components->size() != folderComponents->size() + 1) {
            return {};
        }
        const std::string host = hostPathFor(*components);
        struct stat st {};
        if (!statHost(host, st)) {
            return {};
        }
        const std::string_view name = lastHostComponent(host);
        return {FindEntry{std::string(name), attributesOf(st, name), lastWrittenOf(st)}};
    }

    const std::string folder = hostPathFor(*folderComponents);
    DirectoryHandle dir(::opendir(folder.c_str()));
    struct stat folderStat {};
    if (!dir || ::fstat(::dirfd(dir.get()), &folderStat) != 0) {
        return {};
    }

    std::vector<FindEntry> result;
    if (!folderComponents->empty()) {
        // Both "." and ".." carry the searched folder's own attributes, as NTFS reports them.
        const std::uint32_t own = attributesOf(folderStat, lastHostComponent(folder));
        for (const char* special : {".", ".."}) {
            if (matchesPattern(special, parts.name)) {
                result.push_back({special, own});
            }
        }
    }
    const std::size_t firstEntry = result.size();
    while (const dirent* entry = ::readdir(dir.get())) {
        // A name Windows cannot hold ("a\b", "x.", "a:b", a line break in it) is never shown:
        // joined to the folder's path it would name another file, or none at all.
        const std::string_view name = entry->d_name;
        if (!isSinglePathComponent(name) || !matchesPattern(name, parts.name)) {
            continue;
        }
        // Links count as what they point to; a link pointing nowhere is left out.
        struct stat st {};
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, 0) != 0) {
            continue;
        }
        result.push_back({std::string(name), attributesOf(st, name), lastWrittenOf(st)});
    }
    std::sort(result.begin() + static_cast<std::ptrdiff_t>(firstEntry), result.end(),
              [](const FindEntry& a, const FindEntry& b) { return ntfsNameLess(a.name, b.name); });
    return result;
}

std::uint32_t PosixFileSystem::attributes(const std::string& path) {
    const std::string host = hostPath(path);
    struct stat st {};
    if (!statHost(host, st)) {
        return kInvalidAttributes;
    }
    return attributesOf(st, lastHostComponent(host));
}

bool PosixFileSystem::fileExists(const std::string& path) {
    struct stat st {};
    return statHost(hostPath(path), st) && !S_ISDIR(st.st_mode);
}

bool PosixFileSystem::directoryExists(const std::string& path) {
    struct stat st {};
    return statHost(hostPath(path), st) && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return statHost(hostPath(a), first) && statHost(hostPath(b), second) &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool PosixFileSystem::deleteFile(const std::string& path) {
    const std::string host = hostPath(path);
    struct stat own {};
    if (host.empty() || ::lstat(host.c_str(), &own) != 0 || S_ISDIR(own.st_mode)) {
        return false;
    }
    // A link is judged by what it points to, as the searches show it: a link to a folder is a
    // folder and a link to a read-only file is read-only. A link pointing nowhere can go.
    struct stat target = own;
    if (S_ISLNK(own.st_mode) && ::stat(host.c_str(), &target) != 0) {
        return ::unlink(host.c_str()) == 0;
    }
    if (S_ISDIR(target.st_mode) || isReadOnlyMode(target.st_mode)) {
        return false;
    }
    return ::unlink(host.c_str()) == 0;
}

bool PosixFileSystem::moveFile(const std::string& from, const std::string& to) {
    const std::string source = hostPath(from);
    struct stat sourceStat {};
    if (source.empty() || ::lstat(source.c_str(), &sourceStat) != 0) {
        return false;
    }
    auto targetComponents = resolve(to);
    if (!targetComponents || targetComponents->empty() ||
        !isValidFileName(targetComponents->back())) {
        return false;
    }
    const std::string name = targetComponents->back();
    targetComponents->pop_back();
    const std::string targetFolder = hostPathFor(*targetComponents);
    DirectoryHandle dir(::opendir(targetFolder.c_str()));
    struct stat targetFolderStat {};
    struct stat sourceFolderStat {};
    if (!dir || ::fstat(::dirfd(dir.get()), &targetFolderStat) != 0 ||
        ::stat(hostFolderOf(source).c_str(), &sourceFolderStat) != 0) {
        return false;
    }

    // The new name is taken by any entry of that name in any letter case, unless that entry is
    // the source itself (a rename that only changes the letter case).
    const bool sameFolder = targetFolderStat.st_dev == sourceFolderStat.st_dev &&
                            targetFolderStat.st_ino == sourceFolderStat.st_ino;
    const std::string_view sourceName = lastHostComponent(source);
    bool caseOnly = false;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view entryName = entry->d_name;
        if (!sameNameIgnoringCase(entryName, name)) {
            continue;
        }
        if (!sameFolder || entryName != sourceName) {
            return false;
        }
        caseOnly = true;
    }

    const std::string target = joinHost(targetFolder, name);
    if (caseOnly) {
        return ::rename(source.c_str(), target.c_str()) == 0;
    }
    // The name was free a moment ago; renaming without replacing keeps it so should another
    // process take it meanwhile.
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno == EINVAL || errno == ENOSYS) {
        struct stat existing {};
        return ::lstat(target.c_str(), &existing) != 0 &&
               ::rename(source.c_str(), target.c_str()) == 0;
    }
    if (errno == EXDEV && S_ISREG(sourceStat.st_mode)) {
        return moveAcrossFileSystems(source, target);
    }
    return false;
}

std::vector<std::uint8_t> PosixFileSystem::readFile(const std::string& path) {
    return readWholeFile(hostPath(path), path);
}

std::optional<std::vector<std::uint8_t>> PosixFileSystem::readFileUpTo(const std::string& path,
                                                                       std::size_t maxSize) {
    return readWholeFileUpTo(hostPath(path), path, maxSize);
}

namespace {

// Writes a whole file. Its folder is found as hostPathFor finds it; its last name, with
// `exactName`, only as given, otherwise also in another letter case.
void writeWholeFile(const std::string& path, const void* data, std::size_t size, bool exactName) {
    auto components = resolve(path);
    std::string host;
    if (components && !components->empty() && isValidFileName(components->back())) {
        if (exactName) {
            const std::string name = components->back();
            components->pop_back();
            host = joinHost(hostPathFor(*components), name);
        } else {
            host = hostPathFor(*components);
        }
    }
    if (host.empty() || replaceNativeFile(host, data, size) != WriteOutcome::Written) {
        throw Error("Cannot create file " + singleLineText(path));
    }
}

} // namespace

void PosixFileSystem::writeFile(const std::string& path, const void* data, std::size_t size) {
    writeWholeFile(path, data, size, false);
}

void PosixFileSystem::writeFileExactName(const std::string& path, const void* data,
                                         std::size_t size) {
    writeWholeFile(path, data, size, true);
}

std::vector<std::optional<std::string>>
PosixFileSystem::getProfileStrings(const std::string& section, const std::vector<std::string>& keys,
                                   const std::string& file) {
    return readProfileFile(hostPath(file), section, keys);
}

bool PosixFileSystem::writeProfileStrings(const std::string& section,
                                          const std::vector<ProfileSetting>& settings,
                                          const std::string& file) {
    const auto components = resolve(file);
    return components && !components->empty() && isValidFileName(components->back()) &&
           writeProfileFile(hostPathFor(*components), section, settings);
}

std::string PosixFileSystem::hostPath(const std::string& windowsPath) {
    const auto components = resolve(windowsPath);
    return components ? hostPathFor(*components) : std::string();
}

std::string PosixFileSystem::windowsPath(const std::string& hostPath) {
    std::string absolute = hostPath;
    if (absolute.empty() || absolute.front() != '/') {
        const auto current = hostCurrentDirectory();
        absolute = joinHost(current ? *current : std::string("/"), absolute);
    }
    PathComponents components;
    appendComponents(components, absolute, [](char c) { return c == '/'; });
    return joinWindowsPath(components);
}

} // namespace tess::platform
