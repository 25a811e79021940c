#pragma once

#include <QImage>

namespace tess::workspace {

// The refresh buttons' 11 x 11 glyph: a square with a dark one-pixel border, a white fill that
// shades to light grey towards the lower right, and a black plus sign in its centre.
QImage refreshGlyph();

} // namespace tess::workspace
