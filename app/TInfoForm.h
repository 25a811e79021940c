#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The about box: the logo, our contact lines, the project line and the version, and OK.
class TInfoForm : public QDialog {
    Q_OBJECT

public:
    explicit TInfoForm(QWidget* owner = nullptr);

    void OKBtnClick();

    // Every text line is centred on this column of the client area.
    static constexpr int kTextAxis = 160;

    QFrame* Bevel1;
    QLabel* Image1;
    QFrame* Bevel2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label6;
    QLabel* Label4;
    QLabel* Label5;
    QPushButton* OKBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* addLine(const char* name, const QString& text, int top);
};
