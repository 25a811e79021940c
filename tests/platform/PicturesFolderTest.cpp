#include "platform/PicturesFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tess::platform {
namespace {

TEST(PicturesFolderTest, ReadsTheFolderAsXdgUserDirDoes) {
    const std::string home = "/home/anna";
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"", std::nullopt},
        {"XDG_DESKTOP_DIR=\"$HOME/Scrivania\"\nXDG_PICTURES_DIR=\"$HOME/Immagini\"\n",
         "/home/anna/Immagini"},
        {"  XDG_PICTURES_DIR = \"/srv/foto/\"\r\n", "/srv/foto"},
        {"XDG_PICTURES_DIR=\"$HOME\"", "/home/anna"},
        {"XDG_PICTURES_DIR=\"$HOME/Foto \\\"24\\\" \\$x\"", "/home/anna/Foto \"24\" $x"},
        {"XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"$HOME/b\"\n", "/home/anna/b"},
        // Forms the file may not hold name nothing, and leave an earlier line standing.
        {"XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"Immagini\"\n", "/a"},
        {"# XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIRS=\"/b\"\nXDG_PICTURES_DIR=$HOME/c\n",
         std::nullopt},
        {"XDG_PICTURES_DIR=\"$HOMEFOTO\"\nXDG_PICTURES_DIR=\"/senza fine\n", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(picturesFolderFromUserDirs(text, home), expected) << text;
    }
}

} // namespace
} // namespace tess::platform
