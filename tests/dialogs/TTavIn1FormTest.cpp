// The value input dialog: its answers, the selection of the proposed text, its layout and font.
#include "ModalDriver.h"
#include "WindowTest.h"

#include "dialogs/Fonts.h"
#include "dialogs/TTavIn1Form.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using tess::test::ModalDriver;

class TTavIn1FormTest : public tess::test::WindowTest {};

// Sends a key to the widget that holds the dialog's keyboard focus, as the keyboard would.
void typeKey(QWidget* dialog, Qt::Key key) {
    QTest::keyClick(dialog->focusWidget(), key);
}

TEST_F(TTavIn1FormTest, AnswersThroughTheModalLoop) {
    struct Case {
        const char* name;
        std::function<void(TTavIn1Form&)> act;
        int esito;
        const char* text;
    };
    const Case cases[] = {
        {"Enter at once confirms the proposed text",
         [](TTavIn1Form& f) { typeKey(&f, Qt::Key_Return); }, 1, "IMG_0042"},
        {"typing at once replaces the whole text",
         [](TTavIn1Form& f) {
             QTest::keyClicks(f.focusWidget(), QStringLiteral("Mare"));
             typeKey(&f, Qt::Key_Enter);
         },
         1, "Mare"},
        {"Esc cancels", [](TTavIn1Form& f) { typeKey(&f, Qt::Key_Escape); }, 2, "IMG_0042"},
        {"Esc after typing cancels",
         [](TTavIn1Form& f) {
             QTest::keyClicks(f.focusWidget(), QStringLiteral("x"));
             typeKey(&f, Qt::Key_Escape);
         },
         2, "x"},
        {"the title bar's close answers nothing", [](TTavIn1Form& f) { f.close(); }, 0, "IMG_0042"},
        {"OK on an emptied box gives the empty text",
         [](TTavIn1Form& f) {
             typeKey(&f, Qt::Key_Delete);
             QTest::mouseClick(f.OKBtn, Qt::LeftButton);
         },
         1, ""},
        {"a click on Cancel cancels",
         [](TTavIn1Form& f) { QTest::mouseClick(f.CancelBtn, Qt::LeftButton); }, 2, "IMG_0042"},
        {"Tab to Cancel and Enter presses Cancel",
         [](TTavIn1Form& f) {
             typeKey(&f, Qt::Key_Tab);
             typeKey(&f, Qt::Key_Tab);
             typeKey(&f, Qt::Key_Return);
         },
         2, "IMG_0042"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTavIn1Form form;
        form.Label1->setText(QStringLiteral("Nuovo nome foto (senza estensione):"));
        form.Edit1->setText(QStringLiteral("IMG_0042"));
        bool focusWasInTheBox = false;
        ModalDriver driver;
        driver.then([&](QWidget* modal) {
            ASSERT_EQ(modal, &form);
            focusWasInTheBox = form.focusWidget() == form.Edit1;
            c.act(form);
        });
        form.exec();
        EXPECT_TRUE(focusWasInTheBox);
        EXPECT_EQ(form.Esito, c.esito);
        EXPECT_EQ(form.Edit1->text().toStdString(), c.text);
        EXPECT_FALSE(form.isVisible());
        EXPECT_TRUE(driver.problems().isEmpty()) << driver.problems().join(u'\n').toStdString();
    }
}

TEST_F(TTavIn1FormTest, EveryOpeningStartsInTheEditBoxWithItsTextSelected) {
    TTavIn1Form form;
    const QString texts[] = {QStringLiteral("Prima"), QStringLiteral("Seconda")};
    // One driver answers both openings of the same dialog.
    ModalDriver driver;
    QString selected;
    for (int opening = 0; opening < 2; ++opening) {
        driver.then([&](QWidget*) {
            selected = form.Edit1->selectedText();
            EXPECT_EQ(QApplication::focusWidget(), form.Edit1);
            typeKey(&form, Qt::Key_Tab);
            typeKey(&form, Qt::Key_Tab);
            typeKey(&form, Qt::Key_Return);
        });
    }
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        form.Edit1->setText(text);
        // The caller puts the focus elsewhere before the opening; the dialog moves it back.
        form.OKBtn->setFocus();
        form.exec();
        EXPECT_EQ(form.Esito, 2);
        EXPECT_EQ(selected, text);
    }
    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_TRUE(driver.problems().isEmpty()) << driver.problems().join(u'\n').toStdString();
}

TEST_F(TTavIn1FormTest, AcceptAndRejectFromCodeGoThroughTheButtons) {
    TTavIn1Form accepted;
    accepted.show();
    accepted.accept();
    EXPECT_EQ(accepted.Esito, 1);
    EXPECT_FALSE(accepted.isVisible());

    TTavIn1Form rejected;
    rejected.show();
    rejected.reject();
    EXPECT_EQ(rejected.Esito, 2);
    EXPECT_FALSE(rejected.isVisible());
}

TEST_F(TTavIn1FormTest, TheWholeTextIsSelectedHoweverTheFocusArrives) {
    struct Case {
        const char* name;
        std::function<void(TTavIn1Form&)> focus;
    };
    const Case cases[] = {
        {"Tab from Cancel", [](TTavIn1Form& f) { typeKey(&f, Qt::Key_Tab); }},
        {"Shift+Tab from Cancel through OK",
         [](TTavIn1Form& f) {
             QTest::keyClick(f.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
             QTest::keyClick(f.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
         }},
        {"a click in the box", [](TTavIn1Form& f) { QTest::mouseClick(f.Edit1, Qt::LeftButton); }},
        {"a click near the box's end",
         [](TTavIn1Form& f) {
             QTest::mouseClick(f.Edit1, Qt::LeftButton, {}, QPoint(f.Edit1->width() - 4, 9));
         }},
        {"the program", [](TTavIn1Form& f) { f.Edit1->setFocus(); }},
        {"the dialog's activation", [](TTavIn1Form& f) { f.FormActivate(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTavIn1Form form;
        form.Edit1->setText(QStringLiteral("Spiaggia 2019"));
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_EQ(QApplication::focusWidget(), form.Edit1);
        form.CancelBtn->setFocus();
        form.Edit1->deselect();
        ASSERT_EQ(QApplication::focusWidget(), form.CancelBtn);

        c.focus(form);

        EXPECT_EQ(QApplication::focusWidget(), form.Edit1);
        EXPECT_EQ(form.Edit1->selectedText(), QStringLiteral("Spiaggia 2019"));
        form.close();
    }
}

TEST_F(TTavIn1FormTest, AClickInTheBoxThatHasTheFocusPlacesTheCaret) {
    TTavIn1Form form;
    form.Edit1->setText(QStringLiteral("Spiaggia 2019"));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_EQ(form.Edit1->selectedText(), QStringLiteral("Spiaggia 2019"));
    QTest::mouseClick(form.Edit1, Qt::LeftButton, {}, QPoint(4, 9));
    EXPECT_FALSE(form.Edit1->hasSelectedText());
    form.close();
}

TEST_F(TTavIn1FormTest, IsCentredOnItsOwner) {
    QWidget owner;
    owner.setGeometry(300, 20, 600, 500);
    owner.show();
    TTavIn1Form form(&owner);
    form.show();
    EXPECT_LE((form.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(),
              4);
    form.close();
    owner.close();
}

TEST_F(TTavIn1FormTest, Layout) {
    TTavIn1Form form;
    EXPECT_EQ(form.size(), QSize(317, 148));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Dialog"));

    struct Place {
        const char* name;
        QRect geometry;
    };
    const Place places[] = {
        {"Bevel1", {8, 8, 300, 89}},
        {"Edit1", {22, 56, 273, 19}},
        {"OKBtn", {85, 108, 77, 27}},
        {"CancelBtn", {169, 108, 77, 27}},
    };
    for (const Place& p : places) {
        auto* control = form.findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(control, nullptr) << p.name;
        EXPECT_EQ(control->geometry(), p.geometry) << p.name;
    }
    EXPECT_EQ(form.Label1->objectName(), QStringLiteral("Label1"));
    EXPECT_EQ(form.Label1->pos(), QPoint(21, 32));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("Inserisci il valore:"));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Edit1"));
    EXPECT_EQ(form.OKBtn->text(), QStringLiteral("OK"));
    EXPECT_EQ(form.CancelBtn->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(form.OKBtn->icon().isNull());
    EXPECT_FALSE(form.CancelBtn->icon().isNull());
    EXPECT_TRUE(form.OKBtn->isDefault());
    EXPECT_FALSE(form.CancelBtn->isDefault());

    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);

    // The tab order runs through the three controls and back.
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (QWidget* next : {static_cast<QWidget*>(form.OKBtn), static_cast<QWidget*>(form.CancelBtn),
                          static_cast<QWidget*>(form.Edit1)}) {
        typeKey(&form, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
    form.close();
}

TEST_F(TTavIn1FormTest, ThePromptFitsItsTextAndTheFont) {
    TTavIn1Form form;
    EXPECT_EQ(form.Label1->font().family(), tess::ui::tahoma8().family());
    EXPECT_EQ(form.Label1->font().pixelSize(), 11);
    const int defaultWidth = form.Label1->width();
    EXPECT_GE(defaultWidth, form.Label1->fontMetrics().horizontalAdvance(form.Label1->text()));

    // The caller's prompt and font, set before the dialog is shown.
    QFont large = tess::ui::tahoma8();
    large.setPixelSize(16);
    form.setFont(large);
    form.Label1->setText(QStringLiteral("Nuovo nome foto (senza estensione):"));
    form.show();
    for (QWidget* control :
         {static_cast<QWidget*>(form.Label1), static_cast<QWidget*>(form.Edit1),
          static_cast<QWidget*>(form.OKBtn), static_cast<QWidget*>(form.CancelBtn)})
        EXPECT_EQ(control->font().pixelSize(), 16) << control->objectName().toStdString();
    const int wide = form.Label1->fontMetrics().horizontalAdvance(form.Label1->text());
    EXPECT_GE(form.Label1->width(), wide);
    EXPECT_EQ(form.Label1->pos(), QPoint(21, 32));

    // A prompt changed while the dialog is open.
    form.Label1->setText(QStringLiteral("Nome:"));
    QApplication::processEvents();
    EXPECT_LT(form.Label1->width(), wide);
    EXPECT_GE(form.Label1->width(), form.Label1->fontMetrics().horizontalAdvance("Nome:"));
    form.close();
}

} // namespace
