#include "platform/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tess::platform {

namespace {

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

// Codes 80 to 9F of Windows-1252; the unassigned ones keep their own number.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t fromWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
}

bool isSurrogate(char32_t code) {
    return code >= 0xD800 && code <= 0xDFFF;
}

// The code point of the UTF-8 sequence at `pos` and its length in `length`; kNoCharacter when
// no valid sequence starts there. With `allowSurrogates` the three-byte form of a surrogate
// counts as valid.
char32_t decodeAt(std::string_view text, std::size_t pos, std::size_t& length,
                  bool allowSurrogates) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    length = 1;
    if (lead < 0x80) {
        return lead;
    }
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return kNoCharacter;
    }
    if (pos + length > text.size()) {
        return kNoCharacter;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return kNoCharacter;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (isSurrogate(code) && !allowSurrogates)) {
        return kNoCharacter;
    }
    return code;
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
    std::size_t length = 0;
    const char32_t code = decodeAt(text, pos, length, false);
    if (code == kNoCharacter) {
        return 0xDC00 + static_cast<unsigned char>(text[pos++]);
    }
    pos += length;
    return code;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t length = 0;
        if (decodeAt(bytes, pos, length, false) == kNoCharacter) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        appendUtf8(text, fromWindows1252(static_cast<unsigned char>(byte)));
    }
    return text;
}

std::string textFromBytes(std::string_view bytes) {
    return isValidUtf8(bytes) ? std::string(bytes) : windows1252ToUtf8(bytes);
}

std::optional<std::string> utf8ToWindows1252(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t length = 0;
        const char32_t code = decodeAt(text, pos, length, false);
        pos += length;
        const auto high = std::find(kWindows1252High.begin(), kWindows1252High.end(), code);
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            bytes += static_cast<char>(code);
        } else if (high != kWindows1252High.end()) {
            bytes += static_cast<char>(0x80 + (high - kWindows1252High.begin()));
        } else {
            return std::nullopt; // not UTF-8, or no byte for the character
        }
    }
    return bytes;
}

std::string bytesLike(std::string_view original, std::string_view text) {
    if (!isValidUtf8(original)) {
        if (auto bytes = utf8ToWindows1252(text)) {
            return *std::move(bytes);
        }
    }
    return std::string(text);
}

std::string utf16UnitsToUtf8(std::u16string_view units) {
    std::string text;
    text.reserve(units.size() * 3 / 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t code = units[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < units.size()) {
            const char32_t low = units[i + 1];
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        appendUtf8(text, code);
    }
    return text;
}

std::u16string utf8ToUtf16Units(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t length = 0;
        char32_t code = decodeAt(text, pos, length, true);
        if (code == kNoCharacter) {
            code = fromWindows1252(static_cast<unsigned char>(text[pos]));
            length = 1;
        }
        pos += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(code));
        }
    }
    return units;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return utf16UnitsToUtf8(units);
}

std::string utf8ToUtf16(std::string_view text, bool bigEndian) {
    const std::u16string units = utf8ToUtf16Units(text);
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string singleLineText(std::string_view text) {
    // The symbols of the block "Control Pictures": U+2400 + code for the codes below 0x20, U+2421
    // for DEL and U+2424 for the other line breaks.
    const auto symbol = [](char32_t code) {
        return std::string{char(0xE2), char(0x90), char(0x80 + code)};
    };
    std::string result;
    result.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        const std::string_view rest = text.substr(pos);
        if (byte < 0x20) {
            result += symbol(byte);
        } else if (byte == 0x7F) {
            result += symbol(0x21);
        } else if (rest.substr(0, 2) == "\xC2\x85") {
            result += symbol(0x24);
            pos += 1;
        } else if (rest.substr(0, 3) == "\xE2\x80\xA8" || rest.substr(0, 3) == "\xE2\x80\xA9") {
            result += symbol(0x24);
            pos += 2;
        } else {
            result += text[pos];
        }
    }
    return result;
}

} // namespace tess::platform
