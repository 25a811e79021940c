#include "platform/AtomicFile.h"

#include "platform/NativeFiles.h"
#include "platform/PosixHandles.h"
#include "platform/TemporaryName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace tess::platform {

namespace {

// A path for the temporary in the folder.
std::string temporaryPath(const std::string& folder) {
    return (folder == "/" ? std::string() : folder) + "/" + temporaryFileName();
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

} // namespace

WriteOutcome replaceNativeFile(const std::string& hostPath, const void* data, std::size_t size) {
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
                    return WriteOutcome::Failed;
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
        return WriteOutcome::Failed;
    }

    const std::string folder = hostFolderOf(target);
    FileDescriptor fd;
    std::unique_ptr<TemporaryFile> temporary;
    for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
        std::string name = temporaryPath(folder);
        fd.reset(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.valid()) {
            temporary = std::make_unique<TemporaryFile>(std::move(name));
        } else if (errno != EEXIST) {
            return isRefusal(errno) ? WriteOutcome::Refused : WriteOutcome::Failed;
        }
    }
    if (!temporary) {
        return WriteOutcome::Failed;
    }
    if (replacing) {
        // Only root may hand a file to another owner; for anyone else the file stays theirs. The
        // owner goes first because changing it clears set-id bits the mode may carry.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd.get(), old.st_uid, old.st_gid);
        }
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0) {
            return WriteOutcome::Failed;
        }
    }
    if (!writeAll(fd.get(), data, size) || ::fsync(fd.get()) != 0 || !fd.close()) {
        return WriteOutcome::Failed;
    }
    if (::rename(temporary->path().c_str(), target.c_str()) != 0) {
        return isRefusal(errno) ? WriteOutcome::Refused : WriteOutcome::Failed;
    }
    temporary->commit();
    syncFolder(folder);
    return WriteOutcome::Written;
}

namespace {

class PosixPatchTarget final : public PatchTarget {
public:
    explicit PosixPatchTarget(FileDescriptor fd) : m_fd(std::move(fd)) {}

    bool reserve(std::uint64_t size) override {
        // Blocks are taken without changing the length; where the file system cannot, the
        // writes find out.
        if (::fallocate(m_fd.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0) {
            return true;
        }
        return errno != ENOSPC && errno != EFBIG && errno != EDQUOT && errno != EIO;
    }
    bool write(std::uint64_t offset, std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written =
                ::pwrite(m_fd.get(), bytes.data(), bytes.size(), static_cast<off_t>(offset));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
            offset += static_cast<std::uint64_t>(written);
        }
        return true;
    }
    bool sync() override { return ::fsync(m_fd.get()) == 0; }
    bool resize(std::uint64_t size) override {
        return ::ftruncate(m_fd.get(), static_cast<off_t>(size)) == 0;
    }

private:
    FileDescriptor m_fd;
};

} // namespace

std::unique_ptr<PatchTarget> openForRewrite(const std::string& nativePath) {
    FileDescriptor fd(::open(nativePath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        isReadOnlyMode(st.st_mode)) {
        return nullptr;
    }
    return std::make_unique<PosixPatchTarget>(std::move(fd));
}

} // namespace tess::platform
