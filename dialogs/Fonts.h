#pragma once

#include <QFont>

class QWidget;

namespace tess::ui {

// Loads the bundled-with-the-system Tahoma and MS Sans Serif outlines (Debian's fonts-wine)
// so that the fixed layouts, drawn for those fonts, fit their captions. Missing files are
// skipped: the fonts then fall back to the nearest sans-serif face.
void loadFonts();

// Tahoma 8 pt and MS Sans Serif 8 pt bold, as 11 px (8 pt at 96 dpi) whatever the screen's dpi.
// The MS Sans Serif face is bitmap-only, without a bold strike: its bold is drawn as Windows
// draws it, each glyph struck twice one pixel apart and advanced one pixel further (the
// advance is in the font's letter spacing, the second strike in strikeBoldBitmapTextTwice).
QFont tahoma8();
QFont msSansSerif8Bold();

// Makes a window and its controls strike the text of a bold face without a bold strike twice,
// one pixel apart. Call it once the controls are built.
void strikeBoldBitmapTextTwice(QWidget* window);

} // namespace tess::ui
