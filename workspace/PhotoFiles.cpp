#include "workspace/PhotoFiles.h"

#include "platform/Error.h"
#include "platform/WindowsPath.h"

#include <string_view>

namespace tess::workspace {

NameParts splitExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {name, std::string()};
    return {name.substr(0, dot), name.substr(dot)};
}

void checkPhotoName(const std::string& name) {
    if (!platform::namesFolderEntry(name))
        throw Error("Nome foto non valido: " + name);
}

std::string photoPath(const std::string& folder, const std::string& name) {
    checkPhotoName(name);
    return platform::joinPath(folder, name);
}

bool isAcceptableBaseName(const std::string& base, const std::string& extension) {
    constexpr std::string_view forbidden = "\\/:*?\"<>|";
    for (const char c : base) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
            forbidden.find(c) != std::string_view::npos)
            return false;
    }
    const std::string result = base + extension;
    return result != "." && result != "..";
}

} // namespace tess::workspace
