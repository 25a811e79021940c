#pragma once

#include "workspace/PhotoTable.h"

#include <string>

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {

// True when the name's last character is "." (the "." and ".." entries).
bool VerificaSeDirectoryDOS(const std::string& name);
// True when the path's attribute value is exactly 16, 17 or 20 (a plain directory, read-only
// or system); a directory with any other attribute besides (hidden, archive) is listed.
bool VerificaSeDirectory(platform::FileSystem& fs, const std::string& path);
// True for "Thumbs.db" in any letter case.
bool VerificaSeDb(const std::string& name);

// The search pattern of a folder text: one trailing "\" removed, then "\*.*".
std::string searchPattern(const std::string& path);

// Rebuilds the table from the folder: every entry except ".", "..", plain directories,
// Thumbs.db, names no Windows file can have (platform::isSinglePathComponent) and the program's
// own temporary files, in the order of the directory listing, all unmarked; the first row ends
// current.
// A missing or unreadable folder gives an empty list.
void CaricaListaFoto(platform::FileSystem& fs, const std::string& path, PhotoTable& table);

// The list of one folder: its table and the folder text it was last built from, which may
// differ from the text now typed in the folder's box.
struct FolderList {
    PhotoTable table;
    std::string listedFolder;

    // Rebuilds the table from `folder` (CaricaListaFoto) and remembers the folder.
    void rebuild(platform::FileSystem& fs, const std::string& folder);
};

} // namespace tess::workspace
