#pragma once

#include "platform/FileSystem.h"

#include <chrono>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tess::workspace {

class PhotoTable;

// Names as a Windows folder tells them apart: grouped by their letters folded to one case (a
// name whose bytes are not UTF-8 read as Windows-1252, as the file layer reads it). A Linux
// folder can hold "A.JPG" and "a.jpg" side by side; these are the names that must not be taken
// for one another.
class FoldedNames {
public:
    void add(const std::string& name);
    // The names added that fold like `name` (the name itself among them when it was added), in
    // the order added.
    const std::vector<std::string>& alike(const std::string& name) const;
    // The first name added, other than `name` itself, that folds like it.
    std::optional<std::string> twinOf(const std::string& name) const;

private:
    std::unordered_map<std::u16string, std::vector<std::string>> m_groups;
};

// The names of a table's rows.
FoldedNames namesOf(const PhotoTable& table);

// The entries a folder holds now, as its search returns them, without "." and "..".
std::vector<platform::FindEntry> folderEntries(platform::FileSystem& fs, const std::string& folder);
// The names of those entries, the program's own temporary files left out.
FoldedNames namesOf(const std::vector<platform::FindEntry>& entries);
FoldedNames folderNames(platform::FileSystem& fs, const std::string& folder);

// A temporary file of the program's own naming that no one has written to since this long
// before a run started is one a killed run left behind. (A copy of the program working in the
// same folder finishes its temporary within seconds.)
inline constexpr std::chrono::minutes kStaleTemporaryAge{1};
// Removes from the folder the entries that are temporary files of the program's own naming
// (platform::isTemporaryFileName, plain files only) last written before `writtenBefore`. What
// cannot be removed is left without a word.
void removeStaleTemporaries(platform::FileSystem& fs, const std::string& folder,
                            const std::vector<platform::FindEntry>& entries,
                            std::chrono::system_clock::time_point writtenBefore);

// The entry of `folder` that holds the file going with the photo listed as `name` among `list`
// (its copy, its thumbnail): the entry of exactly that name when there is one; otherwise the
// one entry whose name differs from it only in letter case, provided the list holds no other
// photo whose name folds alike (the entry could then be that photo's); otherwise none.
std::optional<std::string> matchingEntry(const std::string& name, const FoldedNames& list,
                                         const FoldedNames& folder);

} // namespace tess::workspace
