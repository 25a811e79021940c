#include "workspace/PhotoFiles.h"

#include "platform/Error.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"

namespace tess::workspace {

NameParts splitExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {name, std::string()};
    return {name.substr(0, dot), name.substr(dot)};
}

void checkPhotoName(const std::string& name) {
    if (!platform::namesFolderEntry(name))
        throw Error("Nome foto non valido: " + platform::singleLineText(name));
}

std::string photoPath(const std::string& folder, const std::string& name) {
    checkPhotoName(name);
    return platform::joinPath(folder, name);
}

bool isAcceptableBaseName(const std::string& base, const std::string& extension) {
    // An empty result renames nothing; any other must be a name Windows gives a file, and
    // still one once Windows has dropped its trailing dots and blanks.
    const std::string result = base + extension;
    return result.empty() ||
           (platform::isValidFileName(result) && platform::namesFolderEntry(result));
}

} // namespace tess::workspace
