#include "dialogs/TTavIn1Form.h"

#include "dialogs/Fonts.h"
#include "dialogs/SingleLineBox.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {

// A one-line edit box that selects its whole text whenever it receives the focus, however the
// focus arrives, so that typing replaces the proposed value.
class SelectAllLineEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        if (e->reason() == Qt::MouseFocusReason)
            // The press that brings the focus would put the caret under the mouse and drop
            // the selection, so the text is selected when that click ends.
            m_selectOnRelease = true;
        else
            selectAll();
    }

    void mouseReleaseEvent(QMouseEvent* e) override {
        QLineEdit::mouseReleaseEvent(e);
        if (m_selectOnRelease && !hasSelectedText())
            selectAll();
        m_selectOnRelease = false;
    }

    void focusOutEvent(QFocusEvent* e) override {
        m_selectOnRelease = false;
        QLineEdit::focusOutEvent(e);
    }

private:
    bool m_selectOnRelease = false;
};

} // namespace

TTavIn1Form::TTavIn1Form(QWidget* owner) : FixedDialog(owner, "TTavIn1Form", 317, 148) {
    setWindowTitle(QStringLiteral("Dialog"));
    setFont(tess::ui::tahoma8());
    Bevel1 = addBevel(8, 8, 300, 89);

    Label1 = new QLabel(QStringLiteral("Inserisci il valore:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(21, 32);

    Edit1 = new SelectAllLineEdit(QStringLiteral("Edit1"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(22, 56, 273, 19);
    tess::ui::keepToOneLine(Edit1);

    addButtons(style()->standardIcon(QStyle::SP_DialogOkButton), {85, 108}, {169, 108}, 77, 27);

    setTabOrder(Edit1, OKBtn);
    setTabOrder(OKBtn, CancelBtn);

    fitLabels();
}

void TTavIn1Form::FormActivate() {
    Edit1->setFocus(Qt::OtherFocusReason);
}

void TTavIn1Form::OKBtnClick() {
    Esito = 1;
    finish(QDialog::Accepted);
}

void TTavIn1Form::CancelBtnClick() {
    Esito = 2;
    finish(QDialog::Rejected);
}

void TTavIn1Form::showEvent(QShowEvent* e) {
    FixedDialog::showEvent(e);
    FormActivate();
}

void TTavIn1Form::fitLabels() {
    // The font is set while the controls are still being built.
    if (Label1)
        Label1->adjustSize();
}
