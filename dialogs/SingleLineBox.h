#pragma once

class QLineEdit;

namespace tess::ui {

// Keeps a single-line box to one line, as Windows edit boxes do: of text with line breaks pasted
// or dropped into it only the first line is kept, and what followed the caret stays after it.
// Text the program sets is left as it is.
void keepToOneLine(QLineEdit* box);

} // namespace tess::ui
