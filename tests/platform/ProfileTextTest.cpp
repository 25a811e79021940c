#include "platform/ProfileText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tess::platform {
namespace {

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
        EXPECT_EQ(findProfileValue(c.text, c.section, c.key), c.expected)
            << "[" << c.section << "] " << c.key << " in:\n"
            << c.text;
    }
}

TEST(ProfileTextTest, CutsLongValues) {
    const std::string exact(kMaxProfileValue, 'x');
    const std::string longer = exact + "yyy";
    EXPECT_EQ(findProfileValue("[A]\nk=" + exact + "\n", "A", "k"), exact);
    EXPECT_EQ(findProfileValue("[A]\nk=" + longer + "\n", "A", "k"), exact);
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
        EXPECT_EQ(setProfileValue(c.text, c.section, c.key, c.value), c.expected)
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
        EXPECT_EQ(setProfileValue(text, c[0], c[1], c[2]), std::nullopt)
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
            const auto written = setProfileValue(start, "A", "k", value);
            ASSERT_TRUE(written) << value;
            EXPECT_EQ(findProfileValue(*written, "A", "k"), value) << "in:\n" << *written;
            // A second write finds the key the first one made and leaves one line of it.
            const auto again = setProfileValue(*written, "a", "K", value);
            ASSERT_TRUE(again);
            EXPECT_EQ(*again, *written);
        }
    }
}

} // namespace
} // namespace tess::platform
