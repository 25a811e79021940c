#include "platform/WindowsPath.h"

#include "platform/TextEncoding.h"
#include "platform/UpperCase.h"

#include <algorithm>
#include <cstdint>

namespace tess::platform {

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

namespace {

// A component as Windows takes it: without trailing dots and blanks, so "Foto." and "Foto "
// are "Foto" and "..." is nothing at all.
std::string_view trimComponent(std::string_view part) {
    const std::size_t last = part.find_last_not_of(". ");
    return last == std::string_view::npos ? std::string_view() : part.substr(0, last + 1);
}

} // namespace

void appendComponents(PathComponents& result, std::string_view text, bool (*separator)(char),
                      bool windowsNames) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = start;
        while (end < text.size() && !separator(text[end])) {
            ++end;
        }
        const std::string_view part = text.substr(start, end - start);
        if (part == "..") {
            if (!result.empty()) {
                result.pop_back();
            }
        } else if (const std::string_view kept = windowsNames ? trimComponent(part) : part;
                   !kept.empty() && kept != ".") {
            result.emplace_back(kept);
        }
        start = end + 1;
    }
}

namespace {

bool wildcardMatch(std::u16string_view name, std::u16string_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::u16string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        // A "*" in the pattern is a wildcard even where the name holds a "*" of its own.
        if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (starPattern != std::u16string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

std::optional<PathComponents> resolveWindowsPath(std::string_view path,
                                                 std::string_view currentDirectory) {
    if (path.empty()) {
        return std::nullopt;
    }
    std::string_view rest = path;
    if (rest.size() >= 2 && isAsciiLetter(rest[0]) && rest[1] == ':') {
        // C: is the only drive there is, and so also the current drive.
        if (asciiUpper(rest[0]) != 'C') {
            return std::nullopt;
        }
        rest.remove_prefix(2);
    }
    PathComponents result;
    if (rest.empty() || !isSeparator(rest.front())) {
        const bool knownCurrent = currentDirectory.size() >= 3 &&
                                  asciiUpper(currentDirectory[0]) == 'C' &&
                                  currentDirectory[1] == ':' && isSeparator(currentDirectory[2]);
        if (!knownCurrent) {
            return std::nullopt;
        }
        appendComponents(result, currentDirectory.substr(2), isSeparator, true);
    }
    appendComponents(result, rest, isSeparator, true);
    return result;
}

std::string joinWindowsPath(const PathComponents& components) {
    std::string text = "C:";
    for (const std::string& component : components) {
        text += '\\';
        text += component;
    }
    if (components.empty()) {
        text += '\\';
    }
    return text;
}

SearchPattern splitSearchPattern(std::string_view pattern) {
    std::size_t cut = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (isSeparator(pattern[i])) {
            cut = i + 1;
        }
    }
    if (cut == 0 && pattern.size() >= 2 && isAsciiLetter(pattern[0]) && pattern[1] == ':') {
        cut = 2;
    }
    return {std::string(pattern.substr(0, cut)), std::string(pattern.substr(cut))};
}

bool hasWildcards(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    const std::u16string foldedPattern = foldedName(pattern);
    const std::u16string folded = foldedName(name);
    if (wildcardMatch(folded, foldedPattern)) {
        return true;
    }
    const std::u16string_view patternView = foldedPattern;
    if (patternView.size() >= 2 && patternView.substr(patternView.size() - 2) == u".*") {
        return wildcardMatch(folded, patternView.substr(0, patternView.size() - 2));
    }
    return false;
}

NameCharacter nameCharacter(char c) {
    if (isSeparator(c)) {
        return NameCharacter::Separator;
    }
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string_view(":*?\"<>|").find(c) != std::string_view::npos) {
        return NameCharacter::Forbidden;
    }
    return NameCharacter::Allowed;
}

namespace {

bool allAllowed(std::string_view name) {
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return nameCharacter(c) == NameCharacter::Allowed; });
}

} // namespace

bool isSinglePathComponent(std::string_view name) {
    return !name.empty() && allAllowed(name) && trimComponent(name).size() == name.size();
}

bool namesFolderEntry(std::string_view name) {
    return allAllowed(name) && !trimComponent(name).empty();
}

bool isValidFileName(std::string_view name) {
    return !name.empty() && allAllowed(name);
}

std::string pathTextFromBytes(std::string_view path) {
    std::string text;
    text.reserve(path.size());
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !isSeparator(path[end])) {
            ++end;
        }
        text += textFromBytes(path.substr(start, end - start));
        if (end < path.size()) {
            text += path[end];
        }
        start = end + 1;
    }
    return text;
}

std::u16string foldedName(std::string_view name) {
    std::u16string result;
    result.reserve(name.size());
    std::size_t pos = 0;
    while (pos < name.size()) {
        // Windows folds code units, so the two halves of a character beyond the Basic
        // Multilingual Plane stay as they are.
        char32_t code = decodeUtf8(name, pos);
        if (code >= 0x10000) {
            code -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            result.push_back(upperCaseUnit(static_cast<char16_t>(code)));
        }
    }
    return result;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a == b || foldedName(a) == foldedName(b);
}

bool ntfsNameLess(std::string_view a, std::string_view b) {
    const std::u16string foldedA = foldedName(a);
    const std::u16string foldedB = foldedName(b);
    if (foldedA != foldedB) {
        return foldedA < foldedB;
    }
    return a < b;
}

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string asciiUpper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return asciiUpper(c); });
    return result;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path.append(name);
}

} // namespace tess::platform
