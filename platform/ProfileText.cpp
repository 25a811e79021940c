#include "platform/ProfileText.h"

#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"

#include <algorithm>

namespace tess::platform {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kNone = std::string_view::npos;

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

// One line of a text: its content runs from `begin` to `end`, the next line starts at `next`.
struct LineSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

// Walks a text line by line without copying it; lines end in CR LF, LF or CR.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    bool next(LineSpan& line) {
        if (m_pos >= m_text.size()) {
            return false;
        }
        std::size_t stop = m_pos;
        while (stop < m_text.size() && m_text[stop] != '\n' && m_text[stop] != '\r') {
            ++stop;
        }
        if (stop == m_text.size()) {
            line = {m_pos, m_text.size(), m_text.size()};
        } else {
            std::size_t next = stop + 1;
            if (m_text[stop] == '\r' && next < m_text.size() && m_text[next] == '\n') {
                ++next;
            }
            line = {m_pos, stop, next};
        }
        m_pos = line.next;
        return true;
    }

    // Moves past empty lines at once: a run of line ends always stops where a line starts.
    void skipEmptyLines() {
        while (m_pos < m_text.size() && (m_text[m_pos] == '\n' || m_text[m_pos] == '\r')) {
            ++m_pos;
        }
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

enum class LineKind { Blank, Comment, Section, Key, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;  // the section name or the key, trimmed
    std::string_view value; // for a key: the text after the first "=", as it stands
};

ParsedLine parseLine(std::string_view content) {
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

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A key as the lines are compared with it: plain ASCII keys, the usual case, without folding
// every line's key to UTF-16.
class WantedName {
public:
    explicit WantedName(std::string_view name)
        : m_name(name), m_ascii(isAscii(name)), m_folded(foldedName(name)) {}

    bool matches(std::string_view name, bool nameIsAscii) const {
        if (m_ascii && nameIsAscii) {
            return name.size() == m_name.size() &&
                   std::equal(name.begin(), name.end(), m_name.begin(),
                              [](char a, char b) { return asciiUpper(a) == asciiUpper(b); });
        }
        return foldedName(name) == m_folded;
    }

private:
    std::string_view m_name;
    bool m_ascii;
    std::u16string m_folded;
};

// The first line of a key in its section.
struct KeyLine {
    std::size_t begin = kNone; // where the line's content starts; kNone when the key is missing
    std::size_t end = 0;
    std::string_view name;
    std::string_view value;
};

// What one pass over a text finds for some keys of a section.
struct SectionScan {
    bool found = false;
    std::size_t headerBegin = 0; // where the section's header line starts (after a byte-order mark)
    std::size_t bodyBegin = 0;   // where the line after the header starts
    std::size_t sectionEnd = 0;  // where the next section's header line starts, else the text's end
    std::size_t insertAt = 0;    // where new keys go: after the last key line, else the header
    bool insertUnended = false;  // the line before insertAt has no line end
    std::vector<KeyLine> keys;
    std::string_view newline = "\r\n"; // the text's first line end; CR LF for a text without one
};

SectionScan scanSection(std::string_view text, std::string_view section,
                        const std::vector<std::string_view>& keys) {
    SectionScan scan;
    scan.keys.resize(keys.size());
    std::vector<WantedName> wanted;
    wanted.reserve(keys.size());
    for (const std::string_view key : keys) {
        wanted.emplace_back(key);
    }
    const WantedName wantedSection(section);

    enum class Where { Before, Inside, After };
    Where where = Where::Before;
    bool newlineSeen = false;
    LineReader reader(text);
    LineSpan line;
    while (true) {
        if (newlineSeen) {
            reader.skipEmptyLines();
        }
        if (!reader.next(line)) {
            break;
        }
        if (!newlineSeen && line.next > line.end) {
            scan.newline = text.substr(line.end, line.next - line.end);
            newlineSeen = true;
        }
        if (where == Where::After) {
            if (newlineSeen) {
                break;
            }
            continue;
        }
        if (line.begin == line.end) {
            continue;
        }
        std::size_t begin = line.begin;
        if (begin == 0 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            begin = std::min(kByteOrderMark.size(), line.end);
        }
        const ParsedLine parsed = parseLine(text.substr(begin, line.end - begin));
        if (parsed.kind == LineKind::Section) {
            if (where == Where::Inside) {
                where = Where::After;
                scan.sectionEnd = line.begin;
            } else if (wantedSection.matches(parsed.name, isAscii(parsed.name))) {
                where = Where::Inside;
                scan.found = true;
                scan.headerBegin = begin;
                scan.bodyBegin = line.next;
                scan.sectionEnd = text.size();
                scan.insertAt = line.next;
                scan.insertUnended = line.next == line.end;
            }
            continue;
        }
        if (where != Where::Inside || parsed.kind != LineKind::Key) {
            continue;
        }
        scan.insertAt = line.next;
        scan.insertUnended = line.next == line.end;
        const bool ascii = isAscii(parsed.name);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (scan.keys[i].begin == kNone && wanted[i].matches(parsed.name, ascii)) {
                scan.keys[i] = {begin, line.end, parsed.name, parsed.value};
            }
        }
    }
    return scan;
}

// A key's value as a read gives it.
std::string readValue(std::string_view raw) {
    std::string_view value = trimBlanks(raw);
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (isValidUtf8(value)) {
        return cutProfileValue(value);
    }
    return windows1252ToUtf8(value.substr(0, kMaxProfileValue));
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

bool canStoreSection(std::string_view name) {
    return !name.empty() && !holdsLineBreak(name) && name.find(']') == std::string_view::npos;
}

bool canStoreKey(std::string_view name) {
    return !name.empty() && !holdsLineBreak(name) && name.find('=') == std::string_view::npos &&
           name.front() != ';' && name.front() != '[';
}

// A piece of the new text: the bytes from `begin` to `end` of the old one give way to `text`.
struct Edit {
    std::size_t begin;
    std::size_t end;
    std::string text;
};

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

std::vector<std::optional<std::string>> findProfileValues(std::string_view text,
                                                          std::string_view section,
                                                          const std::vector<std::string>& keys) {
    std::vector<std::string_view> names;
    names.reserve(keys.size());
    for (const std::string& key : keys) {
        names.push_back(trimBlanks(key));
    }
    const SectionScan scan = scanSection(text, trimBlanks(section), names);
    std::vector<std::optional<std::string>> values(keys.size());
    if (!scan.found) {
        return values;
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (scan.keys[i].begin != kNone) {
            values[i] = readValue(scan.keys[i].value);
        }
    }
    return values;
}

namespace {

// The settings a write stores, by index, with their keys: of two for the same key the later
// one. The others go into `refused`.
struct AcceptedSettings {
    std::vector<std::size_t> indexes;
    std::vector<std::string_view> keys;
};

AcceptedSettings acceptSettings(std::string_view section,
                                const std::vector<ProfileSetting>& settings,
                                std::vector<std::size_t>& refused) {
    const auto storable = [](const std::string& value) {
        return !holdsLineBreak(value) && isValidUtf8(value);
    };
    AcceptedSettings accepted;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const std::string_view key = trimBlanks(settings[i].key);
        if (!canStoreSection(section) || !canStoreKey(key) || !storable(settings[i].value)) {
            refused.push_back(i);
            continue;
        }
        const WantedName wanted(key);
        const bool ascii = isAscii(key);
        const auto later = std::find_if(settings.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                        settings.end(), [&](const ProfileSetting& other) {
                                            return wanted.matches(trimBlanks(other.key), ascii) &&
                                                   storable(other.value);
                                        });
        if (later == settings.end()) {
            accepted.indexes.push_back(i);
            accepted.keys.push_back(key);
        }
    }
    return accepted;
}

// Puts the lines of new keys after the last key line of their section, or a new section with
// them at the end of the text.
Edit newKeysEdit(std::string_view text, std::string_view section, const SectionScan& scan,
                 std::string added) {
    std::string lead;
    if (!scan.found) {
        const bool unended = !text.empty() && text.back() != '\n' && text.back() != '\r';
        lead.append(unended ? scan.newline : std::string_view())
            .append("[")
            .append(section)
            .append("]")
            .append(scan.newline);
    } else if (scan.insertUnended) {
        lead = scan.newline;
    }
    const std::size_t at = scan.found ? scan.insertAt : text.size();
    // A lone CR before a blank LF line would make one line end of the two.
    if (at < text.size() && text[at] == '\n' && added.back() == '\r') {
        added += '\n';
    }
    return {at, at, lead + added};
}

// The changes that setting keys makes to a text, in text order, and what the scan found.
struct EditPlan {
    std::vector<Edit> edits;
    SectionScan scan;
};

EditPlan planEdits(std::string_view text, std::string_view section,
                   const std::vector<ProfileSetting>& settings, std::vector<std::size_t>& refused) {
    const std::string_view sectionName = trimBlanks(section);
    const AcceptedSettings accepted = acceptSettings(sectionName, settings, refused);
    EditPlan plan;
    if (accepted.indexes.empty()) {
        return plan;
    }
    plan.scan = scanSection(text, sectionName, accepted.keys);
    const SectionScan& scan = plan.scan;
    std::string added; // the lines of new keys
    for (std::size_t n = 0; n < accepted.indexes.size(); ++n) {
        const std::string& value = settings[accepted.indexes[n]].value;
        const KeyLine& line = scan.keys[n];
        if (!scan.found || line.begin == kNone) {
            added.append(accepted.keys[n])
                .append("=")
                .append(encodeValue(value))
                .append(scan.newline);
        } else if (readValue(line.value) != value) {
            plan.edits.push_back(
                {line.begin, line.end, std::string(line.name) + '=' + encodeValue(value)});
        }
    }
    if (!added.empty()) {
        plan.edits.push_back(newKeysEdit(text, sectionName, scan, std::move(added)));
    }
    // Rewritten key lines all end before the place where new keys go.
    std::sort(plan.edits.begin(), plan.edits.end(),
              [](const Edit& a, const Edit& b) { return a.begin < b.begin; });
    return plan;
}

// The part of a text from `begin` to `end` with the edits that fall in it made.
std::string applyEdits(std::string_view text, std::size_t begin, std::size_t end,
                       const std::vector<Edit>& edits) {
    std::string result;
    std::size_t size = end - begin;
    for (const Edit& edit : edits) {
        size += edit.text.size();
    }
    result.reserve(size);
    std::size_t copied = begin;
    for (const Edit& edit : edits) {
        if (edit.begin < begin || edit.end > end) {
            continue;
        }
        result.append(text.substr(copied, edit.begin - copied));
        result.append(edit.text);
        copied = edit.end;
    }
    result.append(text.substr(copied, end - copied));
    return result;
}

} // namespace

std::string setProfileValues(std::string_view text, std::string_view section,
                             const std::vector<ProfileSetting>& settings,
                             std::vector<std::size_t>& refused) {
    const EditPlan plan = planEdits(text, section, settings, refused);
    if (plan.edits.empty()) {
        return std::string(text);
    }
    return applyEdits(text, 0, text.size(), plan.edits);
}

ProfileFileText decodeProfileFile(std::string bytes) {
    const auto startsWith = [&](std::string_view mark) { return bytes.rfind(mark, 0) == 0; };
    ProfileFileText file;
    if (!startsWith("\xFF\xFE") && !startsWith("\xFE\xFF")) {
        file.text = std::move(bytes);
        return file;
    }
    const bool bigEndian = bytes[0] == '\xFE';
    file.encoding =
        bigEndian ? ProfileEncoding::Utf16BigEndian : ProfileEncoding::Utf16LittleEndian;
    const std::string_view units = std::string_view(bytes).substr(2);
    file.text = utf16ToUtf8(units, bigEndian);
    if (units.size() % 2 != 0) {
        file.oddByte.assign(1, bytes.back());
    }
    return file;
}

namespace {

// The bytes a piece of a settings file's text takes in the file, without a byte-order mark.
std::string encodePiece(std::string_view piece, ProfileEncoding encoding) {
    switch (encoding) {
    case ProfileEncoding::Bytes:
        break;
    case ProfileEncoding::Utf16LittleEndian:
        return utf8ToUtf16(piece, false);
    case ProfileEncoding::Utf16BigEndian:
        return utf8ToUtf16(piece, true);
    }
    return std::string(piece);
}

std::string_view byteOrderMark(ProfileEncoding encoding) {
    switch (encoding) {
    case ProfileEncoding::Bytes:
        break;
    case ProfileEncoding::Utf16LittleEndian:
        return "\xFF\xFE";
    case ProfileEncoding::Utf16BigEndian:
        return "\xFE\xFF";
    }
    return {};
}

} // namespace

std::string encodeProfileFile(ProfileFileText file) {
    if (file.encoding == ProfileEncoding::Bytes) {
        return std::move(file.text);
    }
    return std::string(byteOrderMark(file.encoding)) + encodePiece(file.text, file.encoding) +
           file.oddByte;
}

std::string setProfileFileValues(std::string fileBytes, std::string_view section,
                                 const std::vector<ProfileSetting>& settings,
                                 std::vector<std::size_t>& refused) {
    ProfileFileText file = decodeProfileFile(std::move(fileBytes));
    file.text = setProfileValues(file.text, section, settings, refused);
    return encodeProfileFile(std::move(file));
}

PatchPlan planProfileRewrite(std::string_view fileBytes, std::string_view section,
                             const std::vector<ProfileSetting>& settings,
                             std::vector<std::size_t>& refused) {
    const ProfileFileText file = decodeProfileFile(std::string(fileBytes));
    const std::string_view text = file.text;
    const EditPlan plan = planEdits(text, section, settings, refused);
    PatchPlan patches;
    patches.size = fileBytes.size();
    if (plan.edits.empty()) {
        return patches;
    }
    const auto encode = [&](std::string_view piece) { return encodePiece(piece, file.encoding); };
    // Where a place of the text lies in the file.
    const auto offsetOf = [&](std::size_t position) {
        return byteOrderMark(file.encoding).size() + encode(text.substr(0, position)).size();
    };
    const SectionScan& scan = plan.scan;
    const std::size_t begin = plan.edits.front().begin;
    const std::size_t end = plan.edits.back().end;

    // Everything from the first change on, written anew. A shorter file is written with blanks
    // after its end, which the cut that follows takes away, so the file never ends in old bytes.
    const auto rewriteTail = [&] {
        std::string tail = encode(applyEdits(text, begin, text.size(), plan.edits)) + file.oddByte;
        const std::size_t at = offsetOf(begin);
        patches.size = at + tail.size();
        if (patches.size < fileBytes.size()) {
            const std::size_t unit = encode(" ").size();
            tail += encode(std::string((fileBytes.size() - patches.size) / unit, ' '));
        }
        patches.writes.push_back({at, std::move(tail)});
        return patches;
    };
    if (!scan.found || scan.sectionEnd == text.size()) {
        return rewriteTail();
    }

    std::string changed = applyEdits(text, begin, end, plan.edits);
    const std::size_t room = offsetOf(end) - offsetOf(begin);
    const std::size_t needed = encode(changed).size();
    if (needed <= room) {
        const std::size_t lineEnd = changed.find_last_not_of("\r\n") + 1;
        changed.insert(lineEnd, (room - needed) / encode(" ").size(), ' ');
        patches.writes.push_back({offsetOf(begin), encode(changed)});
        return patches;
    }
    // Moved, the section would be read after another of the same name further on.
    if (scanSection(text.substr(scan.sectionEnd), trimBlanks(section), {}).found) {
        return rewriteTail();
    }

    std::string moved = applyEdits(text, scan.headerBegin, scan.sectionEnd, plan.edits);
    if (text.back() != '\n' && text.back() != '\r') {
        moved.insert(0, scan.newline);
    }
    // A UTF-16 file's odd last byte stays the last.
    const std::size_t at = fileBytes.size() - file.oddByte.size();
    patches.writes.push_back({at, encode(moved) + file.oddByte});
    patches.size = at + patches.writes.back().bytes.size();

    const std::size_t nameStart = text.find('[', scan.headerBegin) + 1;
    patches.writes.push_back({offsetOf(nameStart), encode(text[nameStart] == ';' ? ":" : ";")});
    // Lines turned into blanks keep their line ends, so no line joins another.
    const std::string space = encode(" ");
    const std::string lineEnds[] = {encode("\r"), encode("\n")};
    const auto blanked = [&](std::size_t from, std::size_t to) {
        FilePatch patch{offsetOf(from), {}};
        patch.bytes = fileBytes.substr(patch.offset, offsetOf(to) - patch.offset);
        for (std::size_t i = 0; i < patch.bytes.size(); i += space.size()) {
            const std::string_view unit = std::string_view(patch.bytes).substr(i, space.size());
            if (unit != lineEnds[0] && unit != lineEnds[1]) {
                patch.bytes.replace(i, space.size(), space);
            }
        }
        return patch;
    };
    patches.writes.push_back(blanked(scan.bodyBegin, scan.sectionEnd));
    patches.writes.push_back(blanked(scan.headerBegin, scan.bodyBegin));
    return patches;
}

} // namespace tess::platform
