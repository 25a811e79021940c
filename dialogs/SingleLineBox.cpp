#include "dialogs/SingleLineBox.h"

#include <QLineEdit>

namespace tess::ui {

namespace {

qsizetype firstLineBreak(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n')
            return i;
    }
    return -1;
}

} // namespace

void keepToOneLine(QLineEdit* box) {
    // Only what the user types, pastes or drops is cut: text the program sets is shown as it is.
    // The inserted text ends at the caret, so its lines after the first run from the first line
    // break to the caret.
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& edited) {
        QString text = edited;
        int caret = box->cursorPosition();
        for (qsizetype cut = firstLineBreak(text); cut >= 0; cut = firstLineBreak(text)) {
            if (caret > cut) {
                text.remove(cut, caret - cut);
                caret = static_cast<int>(cut);
            } else {
                text.truncate(cut);
            }
        }
        if (text != edited) {
            box->setText(text);
            box->setCursorPosition(caret);
        }
    });
}

} // namespace tess::ui
