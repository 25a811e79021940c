#pragma once

#include <string>

namespace tess::workspace {

// A file name split at its last ".": the extension keeps the dot and is empty when the name
// has none.
struct NameParts {
    std::string base;
    std::string extension;
};
NameParts splitExtension(const std::string& name);

// Throws tess::Error("Nome foto non valido: <name>") unless the name, joined to a folder path,
// names an entry of that folder (platform::namesFolderEntry): a row named "..\orig\IMG1.JPG",
// however it got into a table, must never reach another folder's file. Lists hold only names
// that name exactly themselves; a typed new name loses its trailing dots and blanks, as on
// Windows.
void checkPhotoName(const std::string& name);

// The path of a listed photo: the folder text, a "\" when it does not end in one, the name.
// Joining with the separator, and refusing a name that is not one entry (checkPhotoName), means
// only the listed photo can ever be deleted or renamed.
std::string photoPath(const std::string& folder, const std::string& name);

// Whether a typed base name may be given to a photo of that extension: the resulting name is one
// Windows gives a file (platform::isValidFileName), and something is left of it once its
// trailing dots and blanks are dropped (so not "." or ".."). An empty base name is allowed
// (the photo is then named by its extension alone), and so is an empty result, which renames
// nothing.
bool isAcceptableBaseName(const std::string& base, const std::string& extension);

} // namespace tess::workspace
