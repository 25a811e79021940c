// Windows path handling: resolving and joining, search patterns, name matching and the NTFS
// order of names. Input: path NUL current directory NUL name NUL name NUL name.

#include "FuzzSupport.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"

#include <string>

using namespace tess::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = tess::fuzz::splitFields(data, size, 5);
    const std::string_view path = fields[0];
    const std::string_view current = fields[1];
    const std::string_view names[] = {fields[2], fields[3], fields[4]};

    // A resolved path holds only components that name themselves (no separator, nothing Win32
    // would drop), and its text resolves to itself wherever one stands.
    if (const auto resolved = resolveWindowsPath(path, current)) {
        for (const std::string& component : *resolved) {
            FUZZ_CHECK(!component.empty() && component.find_first_of("\\/") == std::string::npos &&
                       component.back() != '.' && component.back() != ' ');
        }
        const std::string text = joinWindowsPath(*resolved);
        FUZZ_CHECK(resolveWindowsPath(text, "") == resolved);
        FUZZ_CHECK(resolveWindowsPath(text, current) == resolved);
    }
    const SearchPattern pattern = splitSearchPattern(path);
    FUZZ_CHECK(pattern.folder + pattern.name == path);

    for (const std::string_view name : names) {
        // A name that is one folder entry, joined to a folder, names that entry and no other;
        // a name that names a folder entry at least stays in the folder.
        const auto joined = resolveWindowsPath("C:\\x\\" + std::string(name), "");
        if (isSinglePathComponent(name)) {
            FUZZ_CHECK(joined && joined->size() == 2 && joined->back() == name);
            FUZZ_CHECK(isValidFileName(name) && namesFolderEntry(name));
        }
        // A name shown in a message stays on its line.
        FUZZ_CHECK(singleLineText(name).find_first_of("\r\n") == std::string::npos);
        if (namesFolderEntry(name)) {
            FUZZ_CHECK(joined && joined->size() == 2 && joined->front() == "x");
        }
        FUZZ_CHECK(matchesPattern(name, "*.*"));
        FUZZ_CHECK(matchesPattern(name, "*"));
        FUZZ_CHECK(matchesPattern(name, name));
        FUZZ_CHECK(!ntfsNameLess(name, name));
        FUZZ_CHECK(sameNameIgnoringCase(name, name));
    }
    // The NTFS order is a strict total order: of two different names exactly one comes first,
    // and the order carries over.
    const auto less = [](std::string_view a, std::string_view b) { return ntfsNameLess(a, b); };
    for (const std::string_view a : names) {
        for (const std::string_view b : names) {
            FUZZ_CHECK(a == b || less(a, b) != less(b, a));
            FUZZ_CHECK(sameNameIgnoringCase(a, b) == sameNameIgnoringCase(b, a));
            FUZZ_CHECK(sameNameIgnoringCase(a, b) == (foldedName(a) == foldedName(b)));
            for (const std::string_view c : names) {
                FUZZ_CHECK(!(less(a, b) && less(b, c)) || less(a, c));
            }
        }
    }
    return 0;
}
