#include "platform/ProfileText.h"

#include "platform/WindowsPath.h"

#include <vector>

namespace tess::platform {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

bool holdsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

struct Line {
    std::string_view content; // without its line end
    std::string_view ending;  // "\r\n", "\n", "\r", or empty for a last line without one
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            lines.push_back({text.substr(start), {}});
            break;
        }
        std::size_t endingSize = 1;
        if (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n') {
            endingSize = 2;
        }
        lines.push_back({text.substr(start, stop - start), text.substr(stop, endingSize)});
        start = stop + endingSize;
    }
    return lines;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;  // the section name or the key, trimmed
    std::string_view value; // for a key: the text after the first "=", as it stands
};

ParsedLine parseLine(std::string_view content, bool firstLine) {
    if (firstLine && content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        content.remove_prefix(kByteOrderMark.size());
    }
    const std::string_view trimmed = trimBlanks(content);
    if (trimmed.empty()) {
        return {LineKind::Blank, {}, {}};
    }
    if (trimmed.front() == ';') {
        return {LineKind::Comment, {}, {}};
    }
    if (trimmed.front() == '[') {
        std::string_view inside = trimmed.substr(1);
        inside = inside.substr(0, inside.find(']'));
        return {LineKind::Section, trimBlanks(inside), {}};
    }
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        return {LineKind::Other, {}, {}};
    }
    return {LineKind::Key, trimBlanks(trimmed.substr(0, equals)), trimmed.substr(equals + 1)};
}

// The lines of the first section of the given name: the index of its header and one past its
// last line. Nothing when there is no such section.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> findSection(const std::vector<Line>& lines,
                                        const std::vector<ParsedLine>& parsed,
                                        std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (parsed[i].kind == LineKind::Section && sameNameIgnoringCase(parsed[i].name, section)) {
            std::size_t end = i + 1;
            while (end < lines.size() && parsed[end].kind != LineKind::Section) {
                ++end;
            }
            return SectionRange{i, end};
        }
    }
    return std::nullopt;
}

std::vector<ParsedLine> parseLines(const std::vector<Line>& lines) {
    std::vector<ParsedLine> parsed;
    parsed.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        parsed.push_back(parseLine(lines[i].content, i == 0));
    }
    return parsed;
}

std::optional<std::size_t> findKey(const std::vector<ParsedLine>& parsed, SectionRange range,
                                   std::string_view key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (parsed[i].kind == LineKind::Key && sameNameIgnoringCase(parsed[i].name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string encodeValue(std::string_view value) {
    if (value.empty()) {
        return {};
    }
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    const bool needsQuotes = isBlank(value.front()) || isBlank(value.back()) ||
                             (isQuote(value.front()) && isQuote(value.back()));
    if (!needsQuotes) {
        return std::string(value);
    }
    return '"' + std::string(value) + '"';
}

} // namespace

std::string cutProfileValue(std::string_view text) {
    if (text.size() <= kMaxProfileValue) {
        return std::string(text);
    }
    std::size_t size = kMaxProfileValue;
    while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) {
        --size;
    }
    return std::string(text.substr(0, size));
}

std::optional<std::string> findProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    const std::vector<Line> lines = splitLines(text);
    const std::vector<ParsedLine> parsed = parseLines(lines);
    const auto range = findSection(lines, parsed, trimBlanks(section));
    if (!range) {
        return std::nullopt;
    }
    const auto keyLine = findKey(parsed, *range, trimBlanks(key));
    if (!keyLine) {
        return std::nullopt;
    }
    std::string_view value = trimBlanks(parsed[*keyLine].value);
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return cutProfileValue(value);
}

std::optional<std::string> setProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
    const std::string_view sectionName = trimBlanks(section);
    const std::string_view keyName = trimBlanks(key);
    if (holdsLineBreak(value) || holdsLineBreak(sectionName) || holdsLineBreak(keyName) ||
        sectionName.empty() || keyName.empty() || sectionName.find(']') != std::string_view::npos ||
        keyName.find('=') != std::string_view::npos || keyName.front() == ';' ||
        keyName.front() == '[') {
        return std::nullopt;
    }

    const std::vector<Line> lines = splitLines(text);
    const std::vector<ParsedLine> parsed = parseLines(lines);
    const std::string encoded = encodeValue(value);

    // New lines follow the file's own line ends; a new file gets CR LF.
    std::string_view newline = "\r\n";
    for (const Line& line : lines) {
        if (!line.ending.empty()) {
            newline = line.ending;
            break;
        }
    }

    std::string result;
    result.reserve(text.size() + sectionName.size() + keyName.size() + encoded.size() + 8);
    const auto appendLine = [&](std::size_t index) {
        result += lines[index].content;
        result += lines[index].ending;
    };
    const auto ensureLineEnd = [&](std::size_t index) {
        if (lines[index].ending.empty()) {
            result += newline;
        }
    };

    const auto range = findSection(lines, parsed, sectionName);
    if (!range) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            appendLine(i);
        }
        if (!lines.empty()) {
            ensureLineEnd(lines.size() - 1);
        }
        result += '[';
        result += sectionName;
        result += ']';
        result += newline;
        result += keyName;
        result += '=';
        result += encoded;
        result += newline;
        return result;
    }

    if (const auto keyLine = findKey(parsed, *range, keyName)) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i != *keyLine) {
                appendLine(i);
                continue;
            }
            result += parsed[i].name;
            result += '=';
            result += encoded;
            result += lines[i].ending;
        }
        return result;
    }

    // A new key follows the section's last key line, so blank lines and comments that close the
    // section stay between it and the next section.
    std::size_t insertAfter = range->header;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (parsed[i].kind == LineKind::Key) {
            insertAfter = i;
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        appendLine(i);
        if (i == insertAfter) {
            ensureLineEnd(i);
            result += keyName;
            result += '=';
            result += encoded;
            result += newline;
        }
    }
    return result;
}

} // namespace tess::platform
