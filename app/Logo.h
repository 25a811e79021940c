#pragma once

#include <QIcon>
#include <QImage>

#include <array>

namespace tess::ui {

// The program's logo for the about box: a 256 x 64 picture in 16 colours (an indexed image
// whose colour table holds the 16 classic VGA colours), drawn here rather than loaded from a
// file so that the program carries no picture resources.
QImage tessalumaLogo();

// The sizes, in pixels, at which the program's icon is drawn for windows and for the desktop's
// icon theme.
inline constexpr std::array kIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The program's icon: the logo's mark (the framed photo print) on a transparent square of
// `size` pixels.
QImage tessalumaIcon(int size);

// The icon every window of the program carries, with a picture for each of kIconSizes.
QIcon tessalumaWindowIcon();

} // namespace tess::ui
