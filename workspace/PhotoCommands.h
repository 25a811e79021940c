#pragma once

#include "workspace/PhotoList.h"

#include <optional>
#include <string>

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {

class Prompt;

// A list as a command sees it: the folder text now in its box, and the list itself. The
// commands act on the files of the folder the list was built from, which is what the user sees
// listed, and rebuild the list from the box.
struct ListAt {
    std::string folder;
    FolderList& list;

    PhotoTable& table() const { return list.table; }
    const std::string& listedFolder() const { return list.listedFolder; }
    std::string currentPath() const;
    void rebuild(platform::FileSystem& fs) const { list.rebuild(fs, folder); }
};

// The outcome of a rename: the name used (empty when the user did not confirm one) and
// whether the file was renamed.
struct RenameOutcome {
    std::string resultingName;
    bool renamed = false;
};

// Deleting and renaming the current photo of a list; a reduced photo's thumbnail follows it.
// Failures of the file layer or of a rebuild propagate to the caller.
class PhotoCommands {
public:
    PhotoCommands(platform::FileSystem& fs, Prompt& prompt) : m_fs(fs), m_prompt(prompt) {}

    void deleteOriginal(const ListAt& originals);
    void deleteReduced(const ListAt& reduced, const ListAt& thumbnails);
    void renameOriginal(const ListAt& originals);
    void renameReduced(const ListAt& reduced, const ListAt& thumbnails);

    // Renames folder + oldName to folder + newName without replacing; an empty newName asks
    // the user for the base name (the extension is kept).
    RenameOutcome RinominaFoto(const std::string& folder, const std::string& oldName,
                               const std::string& newName);

private:
    // The name of the thumbnail that goes with a reduced photo (matchingEntry): when a folder
    // holds names that differ only in letter case, never another photo's.
    std::optional<std::string> thumbnailOf(const ListAt& reduced, const ListAt& thumbnails,
                                           const std::string& name);

    platform::FileSystem& m_fs;
    Prompt& m_prompt;
};

} // namespace tess::workspace
