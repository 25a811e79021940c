#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Reading and editing the text of a settings (INI) file, without touching the disk.
namespace tess::platform {

// The longest value a read gives back; longer values are cut.
inline constexpr std::size_t kMaxProfileValue = 2047;

// Text cut to kMaxProfileValue bytes, never in the middle of a UTF-8 character.
std::string cutProfileValue(std::string_view text);

// The value of the first line of the key in the first section of that name, both matched in any
// letter case: trimmed of blanks and tabs, one pair of matching quotes (" or ') removed, and cut
// to kMaxProfileValue. Nothing when the section or key is missing. Lines starting with ";" are
// comments; lines may end in CR LF, LF or CR, and the last line needs no line end.
std::optional<std::string> findProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// The text with the key set to the value. An existing key line is rewritten with the key spelt
// as the file had it; a new key goes after the last key line of its section, a new section at
// the end. Every other line keeps its bytes and line end. The value is put in double quotes when
// blanks at its ends or quotes around it would otherwise be lost on reading. Nothing when the
// value cannot be stored: it holds a line break, or the section or key could not be read back
// (empty, a line break, "]" in a section, "=" in a key, a key starting with ";" or "[").
std::optional<std::string> setProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value);

} // namespace tess::platform
