#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text in the encodings settings files and Windows names come in: UTF-8, Windows-1252, UTF-16.
namespace tess::platform {

// One code point from UTF-8 text, advancing the position. A byte that does not start a valid
// sequence gives a lone low surrogate 0xDC00 + byte, so it sorts after the letters and never
// equals a real character.
char32_t decodeUtf8(std::string_view text, std::size_t& pos);

// Whether the bytes are UTF-8 text: no broken, overlong or surrogate sequences.
bool isValidUtf8(std::string_view bytes);

// Windows-1252 text as UTF-8. The five codes that page leaves unassigned (81, 8D, 8F, 90, 9D)
// become the control characters of the same number, as Windows reads them.
std::string windows1252ToUtf8(std::string_view bytes);

// The text that bytes hold as Windows shows them: UTF-8 when they are valid UTF-8, otherwise
// Windows-1252.
std::string textFromBytes(std::string_view bytes);

// The reverse of windows1252ToUtf8; nothing when the text is not UTF-8 or holds a character that
// page has no byte for.
std::optional<std::string> utf8ToWindows1252(std::string_view text);

// The bytes for a text typed in place of a name whose bytes are `original` and that was shown
// by textFromBytes: a name that is not UTF-8 gets the text in Windows-1252 too, so what the user
// left as it was keeps its bytes, unless a character has no byte there; every other name gets
// the text as it is.
std::string bytesLike(std::string_view original, std::string_view text);

// UTF-16 code units as UTF-8. A lone surrogate is kept in the three-byte form UTF-8 would give
// it, so that utf8ToUtf16Units gives the same units back: every name a Windows folder can hold
// has a text of its own.
std::string utf16UnitsToUtf8(std::u16string_view units);

// The reverse of utf16UnitsToUtf8. Bytes that are not UTF-8 (nor the three-byte form of a lone
// surrogate) are taken as Windows-1252 characters.
std::u16string utf8ToUtf16Units(std::string_view text);

// The same for UTF-16 held as bytes, two per code unit in the given byte order; an odd last byte
// is ignored.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
std::string utf8ToUtf16(std::string_view text, bool bigEndian);

// A name or a path as a message shows it: each character that would break its line or do its work
// unseen (the control characters, DEL, NEL and the Unicode line and paragraph separators) is put
// as a visible symbol, a line feed as "␊" and a tab as "␉" (the others as "␤"), so the name
// stays on one line and can be read. Every other byte is kept.
std::string singleLineText(std::string_view text);

} // namespace tess::platform
