#include "workspace/PhotoFiles.h"
#include "platform/WindowsPath.h"

#include <gtest/gtest.h>

using namespace tess::workspace;

TEST(PhotoFiles, SplitsAtTheLastDot) {
    struct Case {
        const char* name;
        const char* base;
        const char* extension;
    } cases[] = {
        {"IMG_0001.JPG", "IMG_0001", ".JPG"},
        {"foto.2004.jpg", "foto.2004", ".jpg"},
        {"senzapunto", "senzapunto", ""},
        {".JPG", "", ".JPG"},
        {"fine.", "fine", "."},
    };
    for (const Case& c : cases) {
        const NameParts parts = splitExtension(c.name);
        EXPECT_EQ(parts.base, c.base) << c.name;
        EXPECT_EQ(parts.extension, c.extension) << c.name;
    }
}

TEST(PhotoFiles, JoinsFolderAndNameWithOneSeparator) {
    EXPECT_EQ(photoPath("C:\\Foto\\", "a.jpg"), "C:\\Foto\\a.jpg");
    EXPECT_EQ(photoPath("C:\\Foto", "a.jpg"), "C:\\Foto\\a.jpg");
    // An empty folder text lists the current drive's root, so the photo is there.
    EXPECT_EQ(photoPath("", "a.jpg"), "\\a.jpg");
}

TEST(PhotoFiles, RefusesNamesThatLeaveTheFolderOrThatWindowsForbids) {
    for (const char* bad : {"..\\x", "a/b", "c:x", "a*", "a?", "a\"b", "a<b", "a>b", "a|b", "a\tb"})
        EXPECT_FALSE(isAcceptableBaseName(bad, ".JPG")) << bad;
    EXPECT_FALSE(isAcceptableBaseName(".", ""));
    EXPECT_FALSE(isAcceptableBaseName("..", ""));
    EXPECT_FALSE(isAcceptableBaseName("", "."));
    for (const char* good : {"Mare", "", "foto.2004", "è bello", "..x"})
        EXPECT_TRUE(isAcceptableBaseName(good, ".JPG")) << good;
    // Blanks alone would leave nothing once Windows drops them.
    EXPECT_FALSE(isAcceptableBaseName(" ", ""));
}

// The rename question refuses exactly the names the file layer would not create: one rule for
// every byte, DEL (0x7F) included, which Windows allows.
TEST(PhotoFiles, TypedNamesFollowTheFileLayersRule) {
    for (int code = 0; code < 256; ++code) {
        const std::string base = "a" + std::string(1, char(code)) + "b";
        EXPECT_EQ(isAcceptableBaseName(base, ".JPG"),
                  tess::platform::isValidFileName(base + ".JPG"))
            << "byte " << code;
    }
    EXPECT_TRUE(isAcceptableBaseName("a\x7f", ".JPG"));
}
