#include "app/TInfoForm.h"

#include "app/Application.h"
#include "app/Logo.h"
#include "dialogs/Fonts.h"
#include "dialogs/Placement.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

namespace {

QFrame* sunkenFrame(QWidget* parent, const char* name, const QRect& geometry) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
    frame->setGeometry(geometry);
    return frame;
}

} // namespace

TInfoForm::TInfoForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("InfoForm"));
    setWindowTitle(QStringLiteral("Informazioni Programma"));
    setFixedSize(317, 313);
    setFont(tess::ui::msSansSerif8Bold());
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    black.setColor(QPalette::ButtonText, Qt::black);
    setPalette(black);

    // The frames come first so that the controls they surround are stacked above them.
    Bevel1 = sunkenFrame(this, "Bevel1", QRect(8, 8, 300, 249));
    Bevel2 = sunkenFrame(this, "Bevel2", QRect(32, 96, 257, 81));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(32, 16, 257, 65);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap::fromImage(tess::ui::tessalumaLogo()));

    // Our contact lines are fictional on purpose: the numbers and the town do not exist.
    Label1 = addLine("Label1", QStringLiteral("Tel. 000 000000 - Fax 000 000001"), 104);
    Label2 = addLine("Label2", QStringLiteral("Via dei Fotografi 1"), 120);
    Label3 = addLine("Label3", QStringLiteral("00000 Borgo Immaginario (IT)"), 136);
    Label6 = addLine("Label6", QStringLiteral("www.tessaluma.example"), 154);
    Label4 = addLine("Label4", QStringLiteral("Progetto Tessaluma 32 bit"), 192);
    Label5 = addLine("Label5", QStringLiteral("Versione ") + tess::ui::programVersionText(), 208);

    OKBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"),
                            this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(120, 268, 77, 37);
    OKBtn->setDefault(true);
    OKBtn->setFocus();
    connect(OKBtn, &QPushButton::clicked, this, &TInfoForm::OKBtnClick);
    tess::ui::strikeBoldBitmapTextTwice(this);
}

void TInfoForm::OKBtnClick() {
    accept();
}

void TInfoForm::showEvent(QShowEvent* event) {
    // Centred on the screen, as the box was laid out, rather than over its owner.
    tess::ui::centreOnScreen(this);
    QDialog::showEvent(event);
    OKBtn->setFocus();
}

QLabel* TInfoForm::addLine(const char* name, const QString& text, int top) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(kTextAxis - label->width() / 2, top);
    return label;
}
