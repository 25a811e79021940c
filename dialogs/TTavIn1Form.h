#pragma once

#include "dialogs/FixedDialog.h"

#include <cstdint>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks for one value: a prompt, a one-line edit box, OK and Cancel. The caller sets the prompt
// (Label1), the starting text (Edit1) and, if it wants, the font, runs exec() and then reads
// Esito and Edit1's text.
class TTavIn1Form : public tess::ui::FixedDialog {
    Q_OBJECT

public:
    explicit TTavIn1Form(QWidget* owner = nullptr);

    // The focus goes to the edit box, whose text then stands selected so that typing replaces
    // it. Runs each time the dialog is shown.
    void FormActivate();
    // Esito 1 and the dialog closes.
    void OKBtnClick() override;
    // Esito 2 and the dialog closes; Esc does the same.
    void CancelBtnClick() override;

    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    // 0 when the window was closed from its title bar, 1 for OK, 2 for Cancel.
    std::int16_t Esito = 0;

protected:
    void showEvent(QShowEvent* e) override;
    void fitLabels() override;
};
