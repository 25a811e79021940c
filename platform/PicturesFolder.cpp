#include "platform/PicturesFolder.h"

namespace tess::platform {

namespace {

constexpr std::string_view kKey = "XDG_PICTURES_DIR";
constexpr std::string_view kHome = "$HOME";

std::string_view skipBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The folder one line names, or nothing when the line is not a setting of the key in a form
// the file may hold.
std::optional<std::string> folderOfLine(std::string_view line, std::string_view home) {
    line = skipBlanks(line);
    if (line.substr(0, kKey.size()) != kKey) {
        return std::nullopt;
    }
    line = skipBlanks(line.substr(kKey.size()));
    if (line.empty() || line.front() != '=') {
        return std::nullopt;
    }
    line = skipBlanks(line.substr(1));
    if (line.empty() || line.front() != '"') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    std::string folder;
    if (line.substr(0, kHome.size()) == kHome &&
        (line.size() == kHome.size() || line[kHome.size()] == '/' || line[kHome.size()] == '"')) {
        folder = home;
        line.remove_prefix(kHome.size());
    } else if (line.empty() || line.front() != '/') {
        return std::nullopt;
    }
    std::size_t i = 0;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
        }
        folder += line[i];
    }
    if (i == line.size()) {
        return std::nullopt; // no closing quote
    }
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder.empty() ? std::nullopt : std::optional(folder);
}

} // namespace

std::optional<std::string> picturesFolderFromUserDirs(std::string_view userDirs,
                                                      std::string_view home) {
    std::optional<std::string> folder;
    std::size_t start = 0;
    while (start < userDirs.size()) {
        std::size_t end = userDirs.find('\n', start);
        if (end == std::string_view::npos) {
            end = userDirs.size();
        }
        if (auto found = folderOfLine(userDirs.substr(start, end - start), home)) {
            folder = std::move(found);
        }
        start = end + 1;
    }
    return folder;
}

} // namespace tess::platform
