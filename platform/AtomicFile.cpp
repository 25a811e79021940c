#include "platform/AtomicFile.h"

#include "platform/PosixHandles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

namespace tess::platform {

namespace {

// A name for the temporary that no one else uses: random per process, counted within it.
std::string temporaryName(const std::string& folder) {
    static const unsigned long long seed = [] {
        std::random_device device;
        return (static_cast<unsigned long long>(device()) << 32) ^ device();
    }();
    static std::atomic<unsigned long long> counter{0};
    char name[64];
    std::snprintf(name, sizeof name, ".tess-%016llx-%llu.tmp", seed, counter++);
    return (folder == "/" ? std::string() : folder) + "/" + name;
}

// The temporary file is removed unless it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : m_path(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!m_committed) {
            ::unlink(m_path.c_str());
        }
    }
    const std::string& path() const { return m_path; }
    void commit() { m_committed = true; }

private:
    std::string m_path;
    bool m_committed = false;
};

bool writeAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void syncFolder(const std::string& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get());
    }
}

enum class Outcome { Written, Refused, Failed };

} // namespace

std::string hostFolderOf(const std::string& hostPath) {
    const std::size_t slash = hostPath.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : hostPath.substr(0, slash);
}

namespace {

bool isRefusal(int error) {
    return error == EACCES || error == EPERM;
}

// The replace route; Refused when the folder takes no new file or the rename is not allowed.
Outcome replaceThroughTemporary(const std::string& hostPath, const void* data, std::size_t size) {
    std::string target = hostPath;
    struct stat old {};
    bool replacing = false;
    struct stat linkStat {};
    if (::lstat(target.c_str(), &linkStat) == 0) {
        if (S_ISLNK(linkStat.st_mode)) {
            if (::stat(target.c_str(), &old) == 0) {
                std::unique_ptr<char, decltype(&std::free)> resolved(
                    ::realpath(target.c_str(), nullptr), &std::free);
                if (!resolved) {
                    return Outcome::Failed;
                }
                target = resolved.get();
                replacing = true;
            }
        } else {
            old = linkStat;
            replacing = true;
        }
    }
    if (replacing && (!S_ISREG(old.st_mode) || isReadOnlyMode(old.st_mode))) {
        return Outcome::Failed;
    }

    const std::string folder = hostFolderOf(target);
    FileDescriptor fd;
    std::unique_ptr<TemporaryFile> temporary;
    for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
        std::string name = temporaryName(folder);
        fd.reset(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.valid()) {
            temporary = std::make_unique<TemporaryFile>(std::move(name));
        } else if (errno != EEXIST) {
            return isRefusal(errno) ? Outcome::Refused : Outcome::Failed;
        }
    }
    if (!temporary) {
        return Outcome::Failed;
    }
    if (replacing) {
        // Only root may hand a file to another owner; for anyone else the file stays theirs. The
        // owner goes first because changing it clears set-id bits the mode may carry.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd.get(), old.st_uid, old.st_gid);
        }
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0) {
            return Outcome::Failed;
        }
    }
    if (!writeAll(fd.get(), data, size) || ::fsync(fd.get()) != 0 || !fd.close()) {
        return Outcome::Failed;
    }
    if (::rename(temporary->path().c_str(), target.c_str()) != 0) {
        return isRefusal(errno) ? Outcome::Refused : Outcome::Failed;
    }
    temporary->commit();
    syncFolder(folder);
    return Outcome::Written;
}

// Rewrites an existing writable plain file through the file itself.
bool rewriteInPlace(const std::string& hostPath, const void* data, std::size_t size) {
    FileDescriptor fd(::open(hostPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        isReadOnlyMode(st.st_mode)) {
        return false;
    }
    return writeAll(fd.get(), data, size) && ::ftruncate(fd.get(), static_cast<off_t>(size)) == 0 &&
           ::fsync(fd.get()) == 0 && fd.close();
}

} // namespace

bool replaceFileContents(const std::string& hostPath, const void* data, std::size_t size) {
    return replaceThroughTemporary(hostPath, data, size) == Outcome::Written;
}

bool writeFileContents(const std::string& hostPath, const void* data, std::size_t size) {
    switch (replaceThroughTemporary(hostPath, data, size)) {
    case Outcome::Written:
        return true;
    case Outcome::Refused:
        return rewriteInPlace(hostPath, data, size);
    case Outcome::Failed:
        break;
    }
    return false;
}

} // namespace tess::platform
