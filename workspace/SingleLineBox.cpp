#include "workspace/SingleLineBox.h"

#include <QLineEdit>
#include <QValidator>

namespace tess::workspace {

namespace {

qsizetype firstLineBreak(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n')
            return i;
    }
    return -1;
}

// The box never holds a line break, so one in its new text came with the text just inserted,
// which ends at the caret: from the break to the caret goes.
class FirstLineValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        for (qsizetype cut = firstLineBreak(input); cut >= 0; cut = firstLineBreak(input)) {
            if (pos > cut) {
                input.remove(cut, pos - cut);
                pos = static_cast<int>(cut);
            } else {
                input.truncate(cut);
            }
        }
        return Acceptable;
    }
};

} // namespace

void keepToOneLine(QLineEdit* box) {
    box->setValidator(new FirstLineValidator(box));
}

} // namespace tess::workspace
