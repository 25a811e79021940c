#include "platform/WindowsPath.h"
#include "platform/TemporaryName.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tess::platform {
namespace {

struct ResolveCase {
    std::string path;
    std::string currentDirectory;
    std::string expected; // Windows text of the result, or "" when the path names nothing
};

TEST(WindowsPathTest, ResolvesPathsAsWindowsDoes) {
    const std::vector<ResolveCase> cases = {
        {"C:\\a\\b", "C:\\x", "C:\\a\\b"},
        {"c:\\a\\b", "C:\\x", "C:\\a\\b"},
        {"C:/a/b", "C:\\x", "C:\\a\\b"},
        {"C:\\\\a\\\\\\b\\", "C:\\x", "C:\\a\\b"},
        {"\\\\a\\b", "C:\\x", "C:\\a\\b"},
        {"\\a", "C:\\x\\y", "C:\\a"},
        {"/a", "C:\\x\\y", "C:\\a"},
        {"\\", "C:\\x\\y", "C:\\"},
        {"a\\b", "C:\\x", "C:\\x\\a\\b"},
        {"a/b", "c:/x/", "C:\\x\\a\\b"},
        {"C:a", "C:\\x", "C:\\x\\a"},
        {"C:", "C:\\x", "C:\\x"},
        {".", "C:\\x", "C:\\x"},
        {"..", "C:\\x\\y", "C:\\x"},
        {"..\\..\\..", "C:\\x\\y", "C:\\"},
        {"C:\\a\\.\\b\\..\\c", "C:\\x", "C:\\a\\c"},
        {"C:\\..\\..\\a", "C:\\x", "C:\\a"},
        {"C:\\", "C:\\x", "C:\\"},
        {"C:\\Foto Album\\img 1.jpg", "C:\\", "C:\\Foto Album\\img 1.jpg"},
        {"C:\\Foto.\\x. .", "C:\\", "C:\\Foto\\x"},
        {"C:\\a\\...\\b ", "C:\\", "C:\\a\\b"},
        {"Foto.", "C:\\x", "C:\\x\\Foto"},
        {"\\a", "", "C:\\a"},
        {"D:\\a", "C:\\x", ""},
        {"d:a", "C:\\x", ""},
        {"Z:", "C:\\x", ""},
        {"", "C:\\x", ""},
        {"a", "", ""},
    };
    for (const ResolveCase& c : cases) {
        const auto resolved = resolveWindowsPath(c.path, c.currentDirectory);
        const std::string actual = resolved ? joinWindowsPath(*resolved) : std::string();
        EXPECT_EQ(actual, c.expected) << "path \"" << c.path << "\" in " << c.currentDirectory;
    }
}

TEST(WindowsPathTest, SplitsSearchPatternsAtTheLastSeparator) {
    const std::vector<std::vector<std::string>> cases = {
        {"C:\\x\\*.*", "C:\\x\\", "*.*"}, {"C:/x/y/*.*", "C:/x/y/", "*.*"},
        {"\\*.*", "\\", "*.*"},           {"*.*", "", "*.*"},
        {"C:*.*", "C:", "*.*"},           {"C:\\x\\", "C:\\x\\", ""},
        {"x\\a.jpg", "x\\", "a.jpg"},
    };
    for (const auto& c : cases) {
        const SearchPattern parts = splitSearchPattern(c[0]);
        EXPECT_EQ(parts.folder, c[1]) << c[0];
        EXPECT_EQ(parts.name, c[2]) << c[0];
    }
}

TEST(WindowsPathTest, MatchesSearchPatterns) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"a.jpg", "*.*", true},
        {"README", "*.*", true},
        {".", "*.*", true},
        {"..", "*.*", true},
        {".hidden", "*.*", true},
        {"a.jpg", "*", true},
        {"a.JPG", "*.jpg", true},
        {"A.jpg", "a.JPG", true},
        {"a.jpeg", "*.jpg", false},
        {"a.jpg.bak", "*.jpg", false},
        {"photo", "photo.*", true},
        {"photo.x", "photo.*", true},
        {"photos", "photo.*", false},
        {"a.jpg", "?.jpg", true},
        {"ab.jpg", "?.jpg", false},
        {"abc", "a*c", true},
        {"abcbc", "a*bc", true},
        {"abcb", "a*bc", false},
        {"Ärger.jpg", "ä*", true},
        {"", "*", true},
        {"x", "", false},
        // A "*" or "?" in the name is a character like any other.
        {"*stella.JPG", "*.*", true},
        {"*stella.JPG", "*.jpg", true},
        {"a*b?c", "*", true},
        {"*", "?", true},
        {"*x", "*x", true},
        {"**", "*.*", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matchesPattern(c.name, c.pattern), c.matches)
            << c.name << " against " << c.pattern;
    }
    EXPECT_TRUE(hasWildcards("*.*"));
    EXPECT_TRUE(hasWildcards("a?.jpg"));
    EXPECT_FALSE(hasWildcards("a.jpg"));
}

TEST(WindowsPathTest, TellsNamesThatAreOneFolderEntry) {
    for (const char* one : {"a.jpg", ".hidden", " lead", "..x", "\xC3", "a\x7f"}) {
        EXPECT_TRUE(isSinglePathComponent(one)) << one;
    }
    // Names a Linux folder holds and a Windows one cannot: no list shows them.
    const char* const forbidden[] = {
        "*stella.JPG", "g-colon 12:30.jpg", "tab\t.jpg", "nl\n.jpg", "\x01.jpg", "a|b", "?.jpg"};
    for (const char* other :
         {"", ".", "..", "...", "..\\orig\\IMG1.JPG", "a\\b", "a/b", "x.", "x ", "x. "}) {
        EXPECT_FALSE(isSinglePathComponent(other)) << other;
    }
    // Trailing dots and blanks are dropped from a name joined to a folder; what is left stays
    // in the folder.
    for (const char* entry : {"x.", "x ", "a.jpg", ". x"}) {
        EXPECT_TRUE(namesFolderEntry(entry)) << entry;
    }
    for (const char* outside : {"", ".", "..", "...", ". ", "a\\b", "..\\x", "a/b"}) {
        EXPECT_FALSE(namesFolderEntry(outside)) << outside;
    }
    for (const char* name : forbidden) {
        EXPECT_FALSE(isSinglePathComponent(name)) << name;
        EXPECT_FALSE(namesFolderEntry(name)) << name;
    }
}

TEST(WindowsPathTest, TemporaryNamesAreTheProgramsOwnExactly) {
    EXPECT_TRUE(isTemporaryFileName(temporaryFileName()));
    EXPECT_TRUE(isTemporaryFileName(".tess-0123456789abcdef-10.tmp"));
    for (const char* other : {".tess-0123456789ABCDEF-1.tmp", ".tess-0123456789abcde-1.tmp",
                              ".tess-0123456789abcdef-.tmp", ".tess-0123456789abcdef-01.tmp",
                              ".tess-0123456789abcdef-1.tmp.jpg", "tess-0123456789abcdef-1.tmp",
                              ".TESS-0123456789abcdef-1.TMP", ".tess-x.tmp"}) {
        EXPECT_FALSE(isTemporaryFileName(other)) << other;
    }
}

TEST(WindowsPathTest, NamesInMessagesStayOnOneLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"a\nb.jpg", "a\u240Ab.jpg"}, {"\t\r", "\u2409\u240D"}, {"x\x7f", "x\u2421"},
        {"a\u2028b", "a\u2424b"},     {"\xC2\x85", "\u2424"},   {"Été.jpg", "Été.jpg"},
        {"\xC2 lone", "\xC2 lone"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(singleLineText(c.first), c.second) << c.first;
    }
}

TEST(WindowsPathTest, RefusesNamesWindowsForbids) {
    for (const char* good :
         {"a.jpg", "Foto 1.jpg", ".hidden", "a;b,c=d[e]", "Über.jpg", "...", "a\x7f.jpg"}) {
        EXPECT_TRUE(isValidFileName(good)) << good;
    }
    for (const char* bad : {"", "a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b",
                            "\x01", "a\tb", "a\x1f"}) {
        EXPECT_FALSE(isValidFileName(bad)) << bad;
    }
}

std::vector<std::string> ntfsSorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return ntfsNameLess(a, b); });
    return names;
}

TEST(WindowsPathTest, SortsNamesAsNtfsReturnsThem) {
    // Folding to upper case puts "_" and "[" after every letter; folding to lower case or not
    // folding at all would put them elsewhere.
    const std::vector<std::vector<std::string>> cases[] = {
        {{"b", "A", "_x", "a1", "Z"}, {"A", "a1", "b", "Z", "_x"}},
        {{"[x", "a"}, {"a", "[x"}},
        {{"abc", "AB_", "ab"}, {"ab", "abc", "AB_"}},
        {{"IMG_2.jpg", "img_10.jpg", "img_1.jpg"}, {"img_1.jpg", "img_10.jpg", "IMG_2.jpg"}},
        {{"z", "é", "E", "f"}, {"E", "f", "z", "é"}},
        {{"Öl", "ölb", "Ol"}, {"Ol", "Öl", "ölb"}},
        {{".b", "a", "-c", "~"}, {"-c", ".b", "a", "~"}},
        {{"a", "A"}, {"A", "a"}},
        // Windows keeps "ı" small and folds "ᾀ" to "ᾈ"; it never folds beyond the Basic
        // Multilingual Plane, where "𐐨" sorts by its own code units after "𐐀".
        {{"ız", "Ja", "ᾀ2", "ᾈ1", "𐐨a", "𐐀b"}, {"Ja", "ız", "ᾈ1", "ᾀ2", "𐐀b", "𐐨a"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ntfsSorted(c[0]), c[1]);
    }
}

TEST(WindowsPathTest, ComparesNamesIgnoringLetterCase) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const std::vector<Case> cases = {
        {"Foto.JPG", "foto.jpg", true},
        {"ÄÖÜ", "äöü", true},
        {"Ÿ", "ÿ", true},
        {"Łódź", "ŁÓDŹ", true},
        {"Москва", "МОСКВА", true},
        {"ё", "Ё", true},
        {"a", "b", false},
        {"ß", "SS", false},
        {"a", "a ", false},
        {"\xC3", "\xE3", false},
        {"\xC3(", "\xC3(", true},
        // Beyond Latin-1, Greek and Cyrillic: the table Windows folds file names through.
        {"ǆƀșɐάґạⅰⓐａᾀᾳ", "ǄɃȘⱯΆҐẠⅠⒶＡᾈᾼ", true},
        {"ǰ", "J", false},
        // Small letters whose capital has another small letter, title-case letters and letters
        // beyond the Basic Multilingual Plane: Windows keeps them apart from their capitals.
        {"ς", "Σ", false},
        {"ǅ", "Ǆ", false},
        {"𐐨", "𐐀", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sameNameIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
    }
}

TEST(WindowsPathTest, NamesThatAreNotUtf8AreShownAndWrittenBackByTheirWindows1252Reading) {
    EXPECT_EQ(pathTextFromBytes("C:\\Cielo \xC3\xA8\\Mare \xE8 sole\\\x80.jpg"),
              "C:\\Cielo è\\Mare è sole\\€.jpg");
    // Every byte comes back from its reading.
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(bytesLike("\xE8", textFromBytes(one)), one) << byte;
    }
    // A character Windows-1252 has no byte for: the whole name in UTF-8.
    EXPECT_EQ(bytesLike("Mare \xE8", "Łódź è"), "Łódź è");
    EXPECT_EQ(bytesLike("Cielo è", "Cielo è 2"), "Cielo è 2");
}

} // namespace
} // namespace tess::platform
