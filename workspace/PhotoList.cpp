#include "workspace/PhotoList.h"

#include "platform/FileSystem.h"
#include "platform/TemporaryName.h"
#include "platform/WindowsPath.h"

namespace tess::workspace {
namespace {

bool endsWithBackslash(const std::string& text) {
    return !text.empty() && text.back() == '\\';
}

} // namespace

bool VerificaSeDirectoryDOS(const std::string& name) {
    return !name.empty() && name.back() == '.';
}

bool VerificaSeDirectory(platform::FileSystem& fs, const std::string& path) {
    const std::uint32_t value = fs.attributes(path);
    return value == 16 || value == 17 || value == 20;
}

bool VerificaSeDb(const std::string& name) {
    return platform::asciiUpper(name) == "THUMBS.DB";
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
        for (const platform::FindEntry& entry : fs.findFiles(searchPattern(path))) {
            if (VerificaSeDirectoryDOS(entry.name))
                continue;
            // Joined to the folder, a name holding a separator would name another file, and one
            // holding a character Windows forbids (":", a line break) names none it can write.
            if (!platform::isSinglePathComponent(entry.name))
                continue;
            // The program's own temporary file, one a killed run left among them.
            if (platform::isTemporaryFileName(entry.name))
                continue;
            if (VerificaSeDirectory(fs, platform::joinPath(path, entry.name)))
                continue;
            if (VerificaSeDb(entry.name))
                continue;
            table.append(entry.name, 0);
        }
        table.first();
    }
}

void FolderList::rebuild(platform::FileSystem& fs, const std::string& folder) {
    // Set first: whatever the rebuild leaves in the table comes from this folder.
    listedFolder = folder;
    CaricaListaFoto(fs, folder, table);
}

} // namespace tess::workspace
