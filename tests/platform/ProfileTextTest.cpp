#include "platform/ProfileText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace tess::platform {
namespace {

std::optional<std::string> valueIn(std::string_view text, std::string_view section,
                                   std::string_view key) {
    return findProfileValues(text, section, {std::string(key)}).front();
}

// The text with one key set; nothing when it is refused.
std::optional<std::string> withValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value) {
    std::vector<std::size_t> refused;
    std::string result = setProfileValues(
        text, section, {ProfileSetting{std::string(key), std::string(value)}}, refused);
    return refused.empty() ? std::optional(result) : std::nullopt;
}

struct ReadCase {
    std::string text;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

TEST(ProfileTextTest, ReadsValues) {
    const std::vector<ReadCase> cases = {
        {"[A]\r\nk=v\r\n", "A", "k", "v"},
        {"[a]\nK=v", "A", "k", "v"},
        {"[A]\rk=v\r", "a", "K", "v"},
        {"[ A ]\n  k \t=  v w \t\n", "A", "k", "v w"},
        {"\t[A]\t\nk=v\n", "A", "k", "v"},
        {"[A]\nk=\"  v  \"\n", "A", "k", "  v  "},
        {"[A]\nk= 'v' \n", "A", "k", "v"},
        {"[A]\nk=\"v'\n", "A", "k", "\"v'"},
        {"[A]\nk=\"\"\"\n", "A", "k", "\""},
        {"[A]\nk=\"\n", "A", "k", "\""},
        {"[A]\nk=\"a\" b \"c\"\n", "A", "k", "a\" b \"c"},
        {"[A]\nk=a=b\n", "A", "k", "a=b"},
        {"[A]\nk=\n", "A", "k", ""},
        {"[A]\nk = v ; not a comment\n", "A", "k", "v ; not a comment"},
        {"[A]\n;k=comment\nk=v\n", "A", "k", "v"},
        {"[A]\n  ;k=comment\n", "A", "k", std::nullopt},
        {"[A]\nk=1\nk=2\n", "A", "k", "1"},
        {"[A]\nk=1\n[A]\nk=2\n", "A", "k", "1"},
        {"[A]\nx=1\n[A]\nk=2\n", "A", "k", std::nullopt},
        {"[B]\nk=1\n[A]\nj=2\n", "A", "k", std::nullopt},
        {"k=1\n[A]\n", "A", "k", std::nullopt},
        {"[A]\nkey=v\n", "A", "k", std::nullopt},
        {"[A]\nk\n", "A", "k", std::nullopt},
        {"[AB]\nk=v\n", "A", "k", std::nullopt},
        {"\xEF\xBB\xBF[A]\nk=v", "A", "k", "v"},
        {"[Ä]\nÖ=v\n", "ä", "ö", "v"},
        {"", "A", "k", std::nullopt},
        {"[A]\nk=v\n", " A ", " k\t", "v"},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(valueIn(c.text, c.section, c.key), c.expected)
            << "[" << c.section << "] " << c.key << " in:\n"
            << c.text;
    }
}

TEST(ProfileTextTest, CutsLongValues) {
    const std::string exact(kMaxProfileValue, 'x');
    const std::string longer = exact + "yyy";
    EXPECT_EQ(valueIn("[A]\nk=" + exact + "\n", "A", "k"), exact);
    EXPECT_EQ(valueIn("[A]\nk=" + longer + "\n", "A", "k"), exact);
    // A character that would be split at the limit is left out whole.
    const std::string prefix(kMaxProfileValue - 1, 'x');
    EXPECT_EQ(cutProfileValue(prefix + "é"), prefix);
    EXPECT_EQ(cutProfileValue(prefix + "a"), prefix + "a");
}

struct WriteCase {
    std::string text;
    std::string section;
    std::string key;
    std::string value;
    std::string expected;
};

TEST(ProfileTextTest, WritesValuesAndKeepsEverythingElse) {
    const std::vector<WriteCase> cases = {
        // A new file.
        {"", "Settings", "Quality", "85", "[Settings]\r\nQuality=85\r\n"},
        // An existing key: its line is rewritten, its spelling and line end kept.
        {"[A]\r\nk=1\r\n", "A", "k", "2", "[A]\r\nk=2\r\n"},
        {"[A]\r\nQuality=1\r\n", "a", "QUALITY", "2", "[A]\r\nQuality=2\r\n"},
        {"[A]\r\n  k  =  1  \r\n", "A", "k", "2", "[A]\r\nk=2\r\n"},
        {"[A]\r\nk=1", "A", "k", "2", "[A]\r\nk=2"},
        {"[A]\nk=1\nk=1\n", "A", "k", "2", "[A]\nk=2\nk=1\n"},
        // A new key follows the last key line of its section.
        {"[A]\nk=1\n\n[B]\nx=1\n", "A", "n", "2", "[A]\nk=1\nn=2\n\n[B]\nx=1\n"},
        {"[A]\r\nk=1\r\n; about B\r\n\r\n[B]\r\n", "A", "n", "2",
         "[A]\r\nk=1\r\nn=2\r\n; about B\r\n\r\n[B]\r\n"},
        {"[A]\r\nk=1\r\n;c\r\nj=2\r\n\r\n", "A", "n", "3",
         "[A]\r\nk=1\r\n;c\r\nj=2\r\nn=3\r\n\r\n"},
        {"[A]\r\n\r\n[B]\r\n", "A", "n", "2", "[A]\r\nn=2\r\n\r\n[B]\r\n"},
        {"[A]\r\nk=1", "A", "n", "2", "[A]\r\nk=1\r\nn=2\r\n"},
        {"[A]", "A", "n", "2", "[A]\r\nn=2\r\n"},
        {"x\r[A]\n\n", "A", "n", "2", "x\r[A]\nn=2\r\n\n"},
        // A new section goes at the end.
        {"; top\r\n[A]\r\nk=1\r\n", "B", "x", "y", "; top\r\n[A]\r\nk=1\r\n[B]\r\nx=y\r\n"},
        {"[A]\nk=1", "B", "x", "y", "[A]\nk=1\n[B]\nx=y\n"},
        {"[A]\nk=1\n\n", "B", "x", "y", "[A]\nk=1\n\n[B]\nx=y\n"},
        // Foreign lines keep their bytes and line ends, whatever they are.
        {"\xEF\xBB\xBF; c\r\n[Other]\n  odd = line \r\n;[A]\nk=0\r[A]\nk=1\r\nz=9\n", "A", "k", "2",
         "\xEF\xBB\xBF; c\r\n[Other]\n  odd = line \r\n;[A]\nk=0\r[A]\nk=2\r\nz=9\n"},
        // Values that would change on reading are quoted.
        {"", "A", "k", " v", "[A]\r\nk=\" v\"\r\n"},
        {"", "A", "k", "v\t", "[A]\r\nk=\"v\t\"\r\n"},
        {"", "A", "k", "\"q\"", "[A]\r\nk=\"\"q\"\"\r\n"},
        {"", "A", "k", "'q'", "[A]\r\nk=\"'q'\"\r\n"},
        {"", "A", "k", "a \"b\" c", "[A]\r\nk=a \"b\" c\r\n"},
        {"", "A", "k", "", "[A]\r\nk=\r\n"},
    };
    for (const WriteCase& c : cases) {
        EXPECT_EQ(withValue(c.text, c.section, c.key, c.value), c.expected)
            << "[" << c.section << "] " << c.key << "=" << c.value << " into:\n"
            << c.text;
    }
}

TEST(ProfileTextTest, RefusesWhatCannotBeReadBack) {
    const std::string text = "[A]\r\nk=1\r\n";
    const std::vector<std::vector<std::string>> cases = {
        {"A", "k", "two\nlines"}, {"A", "k", "two\rlines"}, {"A", "k", "end\r\n"},
        {"A", "", "v"},           {"A", " \t", "v"},        {"", "k", "v"},
        {"A]", "k", "v"},         {"A", "k=j", "v"},        {"A", ";k", "v"},
        {"A", "[k", "v"},         {"A\nB", "k", "v"},       {"A", "k\nj", "v"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withValue(text, c[0], c[1], c[2]), std::nullopt)
            << "[" << c[0] << "] " << c[1] << "=" << c[2];
    }
}

TEST(ProfileTextTest, ValuesReadBackAsWritten) {
    const std::vector<std::string> values = {
        "plain", " leading",   "trailing ", "\t tabs \t", "\"quoted\"", "'single'",
        "\"",    "'",          "\"mixed'",  "a=b",        "; semi",     "[bracket]",
        "",      "C:\\Foto\\", "\"\"",      " \"x\" ",    "Ünïcödé",
    };
    const std::vector<std::string> startTexts = {"", "[A]\r\nk=old\r\n", "[B]\nx=1\n",
                                                 "[A]\nj=1\n\n[B]\n"};
    for (const std::string& start : startTexts) {
        for (const std::string& value : values) {
            const auto written = withValue(start, "A", "k", value);
            ASSERT_TRUE(written) << value;
            EXPECT_EQ(valueIn(*written, "A", "k"), value) << "in:\n" << *written;
            // A second write finds the key the first one made and leaves one line of it.
            const auto again = withValue(*written, "a", "K", value);
            ASSERT_TRUE(again);
            EXPECT_EQ(*again, *written);
        }
    }
}

// Text as UTF-16 code units in the given byte order, each character taken as one unit.
std::string utf16(std::u16string_view units, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(ProfileTextTest, BytesThatAreNotUtf8ReadAsWindows1252AndSurviveUnchanged) {
    const std::string text =
        "[A]\r\nk=C:\\Mare \xE8 sole\\\r\nq = \"\x80 \x9D\" \r\nu=\xC3\xA8\r\n";
    const auto values = findProfileValues(text, "A", {"k", "q", "u"});
    EXPECT_EQ(values[0], "C:\\Mare è sole\\");
    EXPECT_EQ(values[1], "€ \u009D");
    EXPECT_EQ(values[2], "è");
    // Writing back what was read keeps every byte; a changed value is written as UTF-8.
    std::vector<std::size_t> refused;
    const std::vector<ProfileSetting> same = {{"k", *values[0]}, {"q", *values[1]}, {"u", "è"}};
    EXPECT_EQ(setProfileValues(text, "A", same, refused), text);
    EXPECT_EQ(withValue(text, "A", "k", "C:\\Mare è\\"),
              "[A]\r\nk=C:\\Mare \xC3\xA8\\\r\nq = \"\x80 \x9D\" \r\nu=\xC3\xA8\r\n");
    // A long value is cut at the limit before it is read as Windows-1252.
    const std::string longValue(kMaxProfileValue + 5, '\xE8');
    EXPECT_EQ(valueIn("[A]\nk=" + longValue, "A", "k")->size(), 2 * kMaxProfileValue);
    // A value that is not UTF-8 cannot be written so that it reads back.
    EXPECT_EQ(withValue(text, "A", "k", "\xE8"), std::nullopt);
}

TEST(ProfileTextTest, SetsSeveralKeysInOnePassAndRefusesOnlyWhatCannotBeStored) {
    const std::string text = "[A]\nk=1\nj=2\n[B]\nk=9\n";
    std::vector<std::size_t> refused;
    const std::vector<ProfileSetting> settings = {
        {"k", "one"}, {"bad", "two\nlines"}, {"new", "3"}, {"J", "x"}, {"j", "4"}, {"=", "5"}};
    EXPECT_EQ(setProfileValues(text, "a", settings, refused), "[A]\nk=one\nj=4\nnew=3\n[B]\nk=9\n");
    EXPECT_EQ(refused, (std::vector<std::size_t>{1, 5}));
    refused.clear();
    EXPECT_EQ(setProfileValues(text, "A]", settings, refused), text);
    EXPECT_EQ(refused.size(), settings.size());
}

TEST(ProfileTextTest, Utf16FilesAreReadAndWrittenBackInTheirEncoding) {
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big endian" : "little endian");
        const std::string mark = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        // A lone surrogate and an odd last byte come back as they were.
        const std::string bytes =
            mark + utf16(u"; \xD800\r\n[A]\r\nk=Caff\u00E8\r\nj=1\r\n", bigEndian) + "!";
        ProfileFileText file = decodeProfileFile(bytes);
        EXPECT_EQ(encodeProfileFile(file), bytes);
        EXPECT_EQ(valueIn(file.text, "A", "k"), "Caffè");
        file.text = *withValue(file.text, "A", "j", "\u20AC");
        EXPECT_EQ(encodeProfileFile(file),
                  mark + utf16(u"; \xD800\r\n[A]\r\nk=Caff\u00E8\r\nj=\u20AC\r\n", bigEndian) +
                      "!");
    }
    EXPECT_EQ(decodeProfileFile("\xFF").encoding, ProfileEncoding::Bytes);
    EXPECT_EQ(decodeProfileFile("\xFE\xFF").text, "");
}

// The bytes a plan leaves in a file: its writes made over the old bytes, then the file cut to its
// length; with `reached`, only that many bytes of the writes reach the file (a kill).
std::string applied(std::string bytes, const PatchPlan& plan,
                    std::size_t reached = std::string::npos) {
    for (const FilePatch& patch : plan.writes) {
        const std::size_t length = std::min(patch.bytes.size(), reached);
        reached -= length;
        bytes.resize(std::max(bytes.size(), patch.offset + length));
        bytes.replace(patch.offset, length, patch.bytes, 0, length);
        if (length < patch.bytes.size()) {
            return bytes;
        }
    }
    bytes.resize(plan.size);
    return bytes;
}

TEST(ProfileTextTest, InPlaceRewritesNeverMoveOrTouchOtherSections) {
    struct Case {
        std::string before;
        std::string other; // the bytes of the other section, found in `before`
        std::vector<ProfileSetting> settings;
        std::string after;
    };
    const std::string mark = "\xFF\xFE";
    const std::vector<Case> cases = {
        // Shorter with a section after it: blanks where a read trims them.
        {"[T]\r\nk=100\r\nj=1\r\n[O]\r\nx=1\r\n",
         "[O]\r\nx=1\r\n",
         {{"k", "9"}},
         "[T]\r\nk=9  \r\nj=1\r\n[O]\r\nx=1\r\n"},
        // Longer with a section after it: moved to the end, its old lines blanked.
        {"[T]\r\nk=1\r\n[O]\r\nx=1",
         "[O]\r\nx=1",
         {{"k", "100"}},
         "   \r\n   \r\n[O]\r\nx=1\r\n[T]\r\nk=100\r\n"},
        {"\xEF\xBB\xBF[T]\nk=1\n[O]\nx=1\n",
         "[O]\nx=1\n",
         {{"k", "10"}},
         "\xEF\xBB\xBF   \n   \n[O]\nx=1\n[T]\nk=10\n"},
        {mark + utf16(u"[T]\r\nk=1\r\n[O]\r\nx=1\r\n", false) + "!",
         utf16(u"[O]\r\nx=1\r\n", false),
         {{"k", "\u20AC\u20AC"}},
         mark + utf16(u"   \r\n   \r\n[O]\r\nx=1\r\n[T]\r\nk=\u20AC\u20AC\r\n", false) + "!"},
        // The last section, or a new one: written from the first change to the end.
        {"[O]\nx=1\n[T]\nk=100\nj=1\n", "[O]\nx=1\n", {{"k", "9"}}, "[O]\nx=1\n[T]\nk=9\nj=1\n"},
        {"[O]\r\nx=1", "[O]\r\nx=1", {{"k", "9"}}, "[O]\r\nx=1\r\n[T]\r\nk=9\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        std::vector<std::size_t> refused;
        const PatchPlan plan = planProfileRewrite(c.before, "T", c.settings, refused);
        EXPECT_TRUE(refused.empty());
        EXPECT_EQ(applied(c.before, plan), c.after);
        // Cut after any byte, the other section keeps its bytes and place and reads as before.
        std::size_t total = 0;
        for (const FilePatch& patch : plan.writes) {
            total += patch.bytes.size();
        }
        const std::size_t otherAt = c.before.find(c.other);
        for (std::size_t reached = 0; reached <= total; ++reached) {
            const std::string file = applied(c.before, plan, reached);
            ASSERT_EQ(file.substr(otherAt, c.other.size()), c.other) << reached;
            ASSERT_EQ(valueIn(decodeProfileFile(file).text, "O", "x"), "1") << reached;
        }
    }
}

} // namespace
} // namespace tess::platform
