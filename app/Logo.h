#pragma once

#include <QImage>

namespace tess::ui {

// The program's logo for the about box: a 256 x 64 picture in 16 colours (an indexed image
// whose colour table holds the 16 classic VGA colours), drawn here rather than loaded from a
// file so that the program carries no picture resources.
QImage tessalumaLogo();

} // namespace tess::ui
