#pragma once

#include <QFont>
#include <QString>

#include <functional>

class QWidget;

namespace tess::ui {

// Loads the bundled-with-the-system Tahoma and MS Sans Serif outlines (Debian's fonts-wine)
// so that the fixed layouts, drawn for those fonts, fit their captions. Missing files are
// skipped: the fonts then fall back to the nearest sans-serif face.
void loadFonts();

// Tahoma 8 pt and MS Sans Serif 8 pt bold, as 11 px (8 pt at 96 dpi) whatever the screen's dpi.
// The MS Sans Serif face is bitmap-only, without a bold strike: its bold is drawn as Windows
// draws it, each glyph struck twice one pixel apart and advanced one pixel further. Windows'
// own font engine does so itself; elsewhere the advance is in the font's letter spacing and the
// second strike in strikeBoldBitmapTextTwice.
QFont tahoma8();
QFont msSansSerif8Bold();

// Makes a window and its controls strike the text of a bold bitmap face that is drawn with its
// regular strike twice, one pixel apart, and draw the text of every bitmap face on screens
// scaled above 100 % as the 100 % picture made bigger.
// Call it once the controls are built.
void strikeBoldBitmapTextTwice(QWidget* window);

// The text as it is when `fits` accepts it, else cut at its end with "..." in place of what was
// cut, as long as `fits` accepts. Three dots rather than the ellipsis character: in a bitmap
// face struck twice the ellipsis's dots run into a line that reads as "_".
QString elideWithDots(const QString& text, const std::function<bool(const QString&)>& fits);

} // namespace tess::ui
