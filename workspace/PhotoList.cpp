#include "workspace/PhotoList.h"

#include "platform/FileSystem.h"
#include "platform/WindowsPath.h"

#include <algorithm>
#include <cctype>

namespace tess::workspace {
namespace {

bool endsWithBackslash(const std::string& text) {
    return !text.empty() && text.back() == '\\';
}

// Resumes the grid however the rebuild ends, so that it keeps showing its table.
class ControlsSuspension {
public:
    explicit ControlsSuspension(PhotoTable& table) : m_table(table) { m_table.disableControls(); }
    ~ControlsSuspension() { m_table.enableControls(); }
    ControlsSuspension(const ControlsSuspension&) = delete;
    ControlsSuspension& operator=(const ControlsSuspension&) = delete;

private:
    PhotoTable& m_table;
};

} // namespace

bool VerificaSeDirectoryDOS(const std::string& name) {
    return !name.empty() && name.back() == '.';
}

bool VerificaSeDirectory(platform::FileSystem& fs, const std::string& path) {
    const std::uint32_t value = fs.attributes(path);
    return value == 16 || value == 17 || value == 20;
}

bool VerificaSeDb(const std::string& name) {
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; });
    return upper == "THUMBS.DB";
}

std::string searchPattern(const std::string& path) {
    std::string folder = path;
    if (endsWithBackslash(folder))
        folder.pop_back();
    return folder + "\\*.*";
}

void CaricaListaFoto(platform::FileSystem& fs, const std::string& path, PhotoTable& table) {
    table.close();
    table.open();
    {
        ControlsSuspension suspension(table);
        const std::string folder = endsWithBackslash(path) ? path : path + "\\";
        for (const platform::FindEntry& entry : fs.findFiles(searchPattern(path))) {
            if (VerificaSeDirectoryDOS(entry.name))
                continue;
            // Joined to the folder, a name holding a separator would name another file.
            if (!platform::isSinglePathComponent(entry.name))
                continue;
            if (VerificaSeDirectory(fs, folder + entry.name))
                continue;
            if (VerificaSeDb(entry.name))
                continue;
            table.append(entry.name, 0);
        }
        table.first();
    }
}

} // namespace tess::workspace
