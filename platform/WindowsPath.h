#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Windows path text and Windows name rules, without touching the disk.
namespace tess::platform {

// The components of an absolute path on drive C:, from the root down; empty for the root.
using PathComponents = std::vector<std::string>;

// Resolves a Windows path against the current directory, itself Windows text such as
// "C:\tmp\x" (an empty current directory means it is unknown, and relative paths then name
// nothing). Handles a drive letter in either case, "\" and "/" alike, doubled separators, "\foo"
// on the current drive, drive-relative "C:foo", and "." and ".." as Windows does (".." at the
// root stays at the root). Trailing dots and blanks of a component are dropped, as Win32 drops
// them: "C:\Foto.\x " is "C:\Foto\x". Nothing when the path is empty or on another drive than C:.
std::optional<PathComponents> resolveWindowsPath(std::string_view path,
                                                 std::string_view currentDirectory);

// Adds the components of a path text (no drive) to `result`, the separators being the characters
// `separator` accepts: empty components (doubled separators) are dropped and "." and ".." are
// resolved on the text (".." at the root stays at the root). With `windowsNames`, components
// lose their trailing dots and blanks as Windows takes them ("Foto." is "Foto", "..." nothing).
void appendComponents(PathComponents& result, std::string_view text, bool (*separator)(char),
                      bool windowsNames = false);

// The Windows text of resolved components: "C:\" for the root, else "C:\a\b".
std::string joinWindowsPath(const PathComponents& components);

// A search pattern split at its last separator: "C:\x\*.*" gives folder "C:\x\" and name "*.*",
// "C:*.*" gives "C:" and "*.*", "*.*" gives "" (the current directory) and "*.*".
struct SearchPattern {
    std::string folder;
    std::string name;
};
SearchPattern splitSearchPattern(std::string_view pattern);

bool hasWildcards(std::string_view name);
// Whether a name matches a search pattern. "*" stands for any run of characters and "?" for one
// (also where the name holds a "*" or "?" of its own), letters match in any case, and a pattern
// ending in ".*" also matches names without an extension, so "*.*" matches every name.
bool matchesPattern(std::string_view name, std::string_view pattern);

// The one rule for the characters of a file name, which every name check below is built on:
// what Windows makes of each byte of a name.
enum class NameCharacter {
    Allowed,   // any byte not named below: DEL (0x7F) and the bytes of UTF-8 characters too
    Separator, // "\" and "/": a name holding one is a path, not a folder entry
    Forbidden, // : * ? " < > | and the control characters 0x00-0x1F: no Windows file has them
};
NameCharacter nameCharacter(char c);

// Whether a name is one a Windows folder entry can have and, joined to a folder path, names
// exactly that entry: not empty, every character Allowed, and no trailing dot or blank that
// Win32 would drop (so neither "." nor ".."). An entry whose name fails this (a Linux name
// holding ":" or a line break, "x.") cannot be reached through a Windows path, and no list shows
// it.
bool isSinglePathComponent(std::string_view name);
// Whether a name joined to a folder path names an entry of that folder, Win32 dropping its
// trailing dots and blanks ("x." is "x"): every character Allowed, and something left once they
// are dropped (so not "", "." or ".."). A name that fails this would name the folder itself,
// reach another one, or name no file Windows can hold.
bool namesFolderEntry(std::string_view name);

// Whether Windows accepts the text as a file name: not empty, and every character Allowed.
bool isValidFileName(std::string_view name);

// Upper case for the ASCII letters only; every other byte is kept (drive letters, "Thumbs.db"
// and the "JPG" ending are compared this way).
char asciiUpper(char c);
std::string asciiUpper(std::string_view text);

// A folder text and a name joined by one "\": none is added when the folder already ends in one.
// An empty folder gives "\name", the name on the current drive's root.
std::string joinPath(std::string_view folder, std::string_view name);

// A path as text that can be shown and stored: each component that is not UTF-8 given by its
// Windows-1252 reading (textFromBytes), by which the file layer finds it again.
std::string pathTextFromBytes(std::string_view path);

// The name with its letters folded to upper case (upperCaseUnit), as UTF-16 code units. Bytes
// that are not valid UTF-8 keep a code of their own that no valid character folds to.
std::u16string foldedName(std::string_view name);
bool sameNameIgnoringCase(std::string_view a, std::string_view b);
// The order NTFS returns a folder's entries in: the folded names compared code by code. Names
// that fold alike are ordered by their bytes so the order stays total.
bool ntfsNameLess(std::string_view a, std::string_view b);

} // namespace tess::platform
