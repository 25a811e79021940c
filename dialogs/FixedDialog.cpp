#include "dialogs/FixedDialog.h"

#include <QCloseEvent>
#include <QFrame>
#include <QPushButton>
#include <QStyle>

namespace tess::ui {

FixedDialog::FixedDialog(QWidget* owner, const char* objectName, int width, int height)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QString::fromLatin1(objectName));
    setFixedSize(width, height);
}

QFrame* FixedDialog::addBevel(int left, int top, int width, int height) {
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setGeometry(left, top, width, height);
    return bevel;
}

void FixedDialog::addButtons(const QIcon& okIcon, QPoint ok, QPoint cancel, int width, int height) {
    OKBtn = new QPushButton(okIcon, QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(QRect(ok, QSize(width, height)));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(QRect(cancel, QSize(width, height)));
    connect(OKBtn, &QPushButton::clicked, this, &FixedDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &FixedDialog::CancelBtnClick);
}

bool FixedDialog::event(QEvent* e) {
    // A window without a layout receives this when a child's size hint changes while it is
    // shown: the caller has changed a label's text.
    if (e->type() == QEvent::LayoutRequest)
        fitLabels();
    return QDialog::event(e);
}

void FixedDialog::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        fitLabels();
}

void FixedDialog::showEvent(QShowEvent* e) {
    fitLabels();
    QDialog::showEvent(e);
}

void FixedDialog::closeEvent(QCloseEvent* e) {
    // QDialog would treat the title bar's close as Esc, which here means Cancel: the dialog ends
    // without an answer instead, leaving the result field as it is.
    if (isVisible())
        finish(QDialog::Rejected);
    e->accept();
}

} // namespace tess::ui
