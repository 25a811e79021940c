#pragma once

#include "platform/FileSystem.h"

#include <sys/types.h>

#include <ostream>
#include <string>
#include <vector>

namespace tess::platform {

inline bool operator==(const FindEntry& a, const FindEntry& b) {
    return a.name == b.name && a.attributes == b.attributes;
}

inline void PrintTo(const FindEntry& entry, std::ostream* out) {
    *out << "{\"" << entry.name << "\", " << entry.attributes << "}";
}

} // namespace tess::platform

namespace tess::platform::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
// Names below it use "/" and may reach into subfolders ("sub/a.jpg"). Modes are POSIX's; on
// Windows a mode without write bits is the read-only attribute.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path on this system, and as Windows text: /tmp/x is C:\tmp\x.
    const std::string& host() const { return m_host; }
    std::string windows() const;
    std::string hostPath(const std::string& name) const;
    std::string windowsPath(const std::string& name) const;

    void makeFile(const std::string& name, const std::string& contents = {},
                  mode_t mode = 0644) const;
    void makeFolder(const std::string& name, mode_t mode = 0755) const;
    void makeLink(const std::string& name, const std::string& target) const;
    void makeHardLink(const std::string& name, const std::string& target) const;
    void setMode(const std::string& name, mode_t mode) const;

    bool exists(const std::string& name) const; // without following links
    bool isLink(const std::string& name) const;
    std::string contents(const std::string& name) const;
    mode_t mode(const std::string& name) const;
    // The names in a folder, sorted by their bytes.
    std::vector<std::string> names(const std::string& folder = {}) const;

private:
    std::string m_host;
};

#ifndef _WIN32
// Sets the process's umask for a test and puts the old one back.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask);
    ~ScopedUmask();

private:
    mode_t m_old;
};
#endif

// Changes into a folder for a test and goes back to the old current directory.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& hostFolder);
    ~ScopedCurrentDirectory();

private:
    std::string m_old;
};

// Whether the tests run under Wine rather than on Windows itself (never on other systems).
bool runningUnderWine();

} // namespace tess::platform::test
