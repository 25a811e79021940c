#pragma once

#include <QFont>

namespace tess::ui {

// Loads the bundled-with-the-system Tahoma and MS Sans Serif outlines (Debian's fonts-wine)
// so that the fixed layouts, drawn for those fonts, fit their captions. Missing files are
// skipped: the fonts then fall back to the nearest sans-serif face.
void loadFonts();

// Tahoma 8 pt and MS Sans Serif 8 pt bold, as 11 px (8 pt at 96 dpi) whatever the screen's dpi.
QFont tahoma8();
QFont msSansSerif8Bold();

} // namespace tess::ui
