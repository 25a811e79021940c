#include "workspace/FolderNames.h"

#include "platform/TemporaryName.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"
#include "workspace/PhotoList.h"
#include "workspace/PhotoTable.h"

#include <algorithm>

namespace tess::workspace {
namespace {

std::u16string foldedKey(const std::string& name) {
    return platform::foldedName(platform::textFromBytes(name));
}

} // namespace

void FoldedNames::add(const std::string& name) {
    m_groups[foldedKey(name)].push_back(name);
}

const std::vector<std::string>& FoldedNames::alike(const std::string& name) const {
    static const std::vector<std::string> none;
    const auto found = m_groups.find(foldedKey(name));
    return found == m_groups.end() ? none : found->second;
}

std::optional<std::string> FoldedNames::twinOf(const std::string& name) const {
    for (const std::string& other : alike(name)) {
        if (other != name)
            return other;
    }
    return std::nullopt;
}

FoldedNames namesOf(const PhotoTable& table) {
    FoldedNames names;
    for (int i = 0; i < table.rowCount(); ++i)
        names.add(table.row(i).nomeFoto);
    return names;
}

std::vector<platform::FindEntry> folderEntries(platform::FileSystem& fs,
                                               const std::string& folder) {
    std::vector<platform::FindEntry> entries = fs.findFiles(searchPattern(folder));
    std::erase_if(entries, [](const platform::FindEntry& entry) {
        return entry.name == "." || entry.name == "..";
    });
    return entries;
}

FoldedNames namesOf(const std::vector<platform::FindEntry>& entries) {
    FoldedNames names;
    for (const platform::FindEntry& entry : entries) {
        if (!platform::isTemporaryFileName(entry.name))
            names.add(entry.name);
    }
    return names;
}

FoldedNames folderNames(platform::FileSystem& fs, const std::string& folder) {
    return namesOf(folderEntries(fs, folder));
}

void removeStaleTemporaries(platform::FileSystem& fs, const std::string& folder,
                            const std::vector<platform::FindEntry>& entries,
                            std::chrono::system_clock::time_point writtenBefore) {
    for (const platform::FindEntry& entry : entries) {
        if (platform::isTemporaryFileName(entry.name) &&
            (entry.attributes & platform::AttrDirectory) == 0 && entry.lastWritten < writtenBefore)
            fs.deleteFile(platform::joinPath(folder, entry.name));
    }
}

std::optional<std::string> matchingEntry(const std::string& name, const FoldedNames& list,
                                         const FoldedNames& folder) {
    const std::vector<std::string>& candidates = folder.alike(name);
    if (std::find(candidates.begin(), candidates.end(), name) != candidates.end())
        return name;
    if (candidates.size() == 1 && !list.twinOf(name))
        return candidates.front();
    return std::nullopt;
}

} // namespace tess::workspace
