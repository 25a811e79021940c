#pragma once

#include "platform/FileSystem.h"
#include "platform/InPlaceWrite.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading and editing the text of a settings (INI) file, without touching the disk.
namespace tess::platform {

// The longest value a read gives back; longer values are cut.
inline constexpr std::size_t kMaxProfileValue = 2047;

// Text cut to kMaxProfileValue bytes, never in the middle of a UTF-8 character.
std::string cutProfileValue(std::string_view text);

// The values of keys in the first section of that name, both matched in any letter case, read
// in one pass over the text: for each key, the value of its first line, trimmed of blanks and
// tabs, one pair of matching quotes (" or ') removed, and cut to kMaxProfileValue; nothing when
// the section or the key is missing. A value whose bytes are not UTF-8 is read as Windows-1252.
// Lines starting with ";" are comments; lines may end in CR LF, LF or CR, and the last line
// needs no line end.
std::vector<std::optional<std::string>> findProfileValues(std::string_view text,
                                                          std::string_view section,
                                                          const std::vector<std::string>& keys);

// The text with the keys set to their values, in one pass. A key line whose value already reads
// as the new value keeps its bytes; another existing key line is rewritten with the key spelt as
// the file had it; new keys go after the last key line of their section, a new section at the
// end. Every other line keeps its bytes and line end. A value is put in double quotes when
// blanks at its ends or quotes around it would otherwise be lost on reading. A setting that
// cannot be stored leaves the file as it was for that key and its index goes into `refused`:
// the value holds a line break or is not UTF-8, or the section or key could not be read back
// (empty, a line break, "]" in a section, "=" in a key, a key starting with ";" or "["). Of two
// settings of the same key the later one counts.
std::string setProfileValues(std::string_view text, std::string_view section,
                             const std::vector<ProfileSetting>& settings,
                             std::vector<std::size_t>& refused);

// How a settings file's bytes hold its text.
enum class ProfileEncoding { Bytes, Utf16LittleEndian, Utf16BigEndian };

// A settings file's text: a file starting with the UTF-16 byte-order mark FF FE or FE FF is
// turned into UTF-8, any other is taken byte for byte.
struct ProfileFileText {
    ProfileEncoding encoding = ProfileEncoding::Bytes;
    std::string text;
    std::string oddByte; // a UTF-16 file's odd last byte, given back as it was
};
ProfileFileText decodeProfileFile(std::string bytes);
// The file's bytes in its own encoding; a UTF-16 file gets its byte-order mark back.
std::string encodeProfileFile(ProfileFileText file);

// A settings file's bytes with the keys set as setProfileValues sets them, in the file's own
// encoding.
std::string setProfileFileValues(std::string fileBytes, std::string_view section,
                                 const std::vector<ProfileSetting>& settings,
                                 std::vector<std::size_t>& refused);

// The same settings written over the bytes of a settings file where they lie, for a folder that
// takes no new file: the writes read back as setProfileValues does, and wherever they stop,
// every other section's bytes are where and as they were (a cut write garbles only this
// section's lines). When other sections follow this one, a shorter section is padded with
// blanks at the end of its last changed line, and a longer one moves to the end of the file:
// written there first, then the old header renamed so that it is no longer read (";" after the
// "["), then its lines and its header blanked. (A file that holds the section twice is written
// from the first change to its end.)
PatchPlan planProfileRewrite(std::string_view fileBytes, std::string_view section,
                             const std::vector<ProfileSetting>& settings,
                             std::vector<std::size_t>& refused);

} // namespace tess::platform
