#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tess::platform {

// The pictures folder a freedesktop user-dirs.dirs file names, read as xdg-user-dir and GLib
// read it: the last line XDG_PICTURES_DIR="$HOME/..." or XDG_PICTURES_DIR="/...", a backslash
// taking the next character as it is, trailing "/" dropped; "$HOME" is `home`. Nothing when no
// line names it in either form.
std::optional<std::string> picturesFolderFromUserDirs(std::string_view userDirs,
                                                      std::string_view home);

} // namespace tess::platform
