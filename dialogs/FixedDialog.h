#pragma once

#include <QDialog>

class QFrame;
class QIcon;
class QPoint;
class QPushButton;

namespace tess::ui {

// The frame of the program's own small dialogs: a fixed size, a title bar with only the close
// button, labels fitted to their texts whenever the font or a text changes, OK and Cancel
// through their handlers (QDialog's accept and reject included, so the result field always
// tells what happened), and a title-bar close that ends the dialog without an answer.
class FixedDialog : public QDialog {
    Q_OBJECT

public:
    virtual void OKBtnClick() = 0;
    virtual void CancelBtnClick() = 0;

    void accept() override { OKBtnClick(); }
    void reject() override { CancelBtnClick(); }

    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    FixedDialog(QWidget* owner, const char* objectName, int width, int height);

    // Fits the labels to their texts. Runs before the dialog's controls exist too (a font set
    // while it is built), so it must allow for them being missing.
    virtual void fitLabels() {}
    // The sunken panel the controls stand on.
    QFrame* addBevel(int left, int top, int width, int height);
    // The OK button (the default, with `okIcon`) and the Cancel button, wired to their handlers,
    // each `width` x `height` at its corner.
    void addButtons(const QIcon& okIcon, QPoint ok, QPoint cancel, int width, int height);

    // Ends the modal loop with `result`, past the handlers.
    void finish(int result) { QDialog::done(result); }

    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
};

} // namespace tess::ui
