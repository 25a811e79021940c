#pragma once

#include <dirent.h>
#include <unistd.h>

#include <utility>

// Owners of POSIX handles, so every path out of a function closes what it opened.
namespace tess::platform {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.m_fd, -1));
        }
        return *this;
    }
    ~FileDescriptor() { reset(); }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    void reset(int fd = -1) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }
    // Closes the descriptor and reports whether the close succeeded; a failed close can mean the
    // data never reached the disk.
    bool close() {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

class DirectoryHandle {
public:
    explicit DirectoryHandle(DIR* dir) : m_dir(dir) {}
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;
    ~DirectoryHandle() {
        if (m_dir != nullptr) {
            ::closedir(m_dir);
        }
    }

    DIR* get() const { return m_dir; }
    explicit operator bool() const { return m_dir != nullptr; }

private:
    DIR* m_dir;
};

} // namespace tess::platform
