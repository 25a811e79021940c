// The about box: its layout, the ways to close it, and the logo it shows.
#include "ModalDriver.h"
#include "TextInk.h"
#include "WindowTest.h"

#include "app/Logo.h"
#include "app/TInfoForm.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using tess::test::ModalDriver;

::testing::AssertionResult sameImage(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure()
               << "size " << actual.width() << "x" << actual.height() << ", expected "
               << expected.width() << "x" << expected.height();
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " is " << std::hex << actual.pixel(x, y)
                       << ", expected " << expected.pixel(x, y);
    return ::testing::AssertionSuccess();
}

class AboutBox : public tess::test::WindowTest {};

TEST_F(AboutBox, IsAFixedDialogOfItsSize) {
    TInfoForm box;
    EXPECT_EQ(box.windowTitle(), "Informazioni Programma");
    EXPECT_EQ(box.size(), QSize(317, 313));
    EXPECT_EQ(box.minimumSize(), box.maximumSize()) << "the border must not be sizeable";

    const Qt::WindowFlags flags = box.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
}

TEST_F(AboutBox, FramesImageAndButtonSitAtTheirPlaces) {
    struct Case {
        const char* name;
        QRect geometry;
    };
    const Case cases[] = {
        {"Bevel1", QRect(8, 8, 300, 249)},
        {"Image1", QRect(32, 16, 257, 65)},
        {"Bevel2", QRect(32, 96, 257, 81)},
        {"OKBtn", QRect(120, 268, 77, 37)},
    };
    TInfoForm box;
    for (const Case& c : cases) {
        auto* widget = box.findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
    }
    for (QFrame* bevel : {box.Bevel1, box.Bevel2})
        EXPECT_EQ(bevel->frameShadow(), QFrame::Sunken) << bevel->objectName().toStdString();

    EXPECT_EQ(box.OKBtn->text(), "OK");
    EXPECT_FALSE(box.OKBtn->icon().isNull());
    EXPECT_TRUE(box.OKBtn->isDefault());
}

TEST_F(AboutBox, TextLinesAreCentredOnOneAxisInsideTheirFrames) {
    struct Case {
        const char* name;
        int top;
        const char* text; // nullptr: our own contact line, any text
        const char* frame;
    };
    const Case cases[] = {
        {"Label1", 104, nullptr, "Bevel2"},
        {"Label2", 120, nullptr, "Bevel2"},
        {"Label3", 136, nullptr, "Bevel2"},
        {"Label6", 154, nullptr, "Bevel2"},
        {"Label4", 192, "Progetto Tessaluma 32 bit", "Bevel1"},
        {"Label5", 208, "Versione 1.00", "Bevel1"},
    };
    TInfoForm box;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* label = box.findChild<QLabel*>(c.name);
        ASSERT_NE(label, nullptr);
        if (c.text)
            EXPECT_EQ(label->text(), c.text);
        else
            EXPECT_FALSE(label->text().trimmed().isEmpty());
        EXPECT_EQ(label->y(), c.top);
        const QFontMetrics metrics(label->font());
        EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text())) << "text cut off";
        EXPECT_NEAR(label->x() + label->width() / 2.0, 160.0, 1.0);
        EXPECT_TRUE(box.findChild<QWidget*>(c.frame)->geometry().contains(label->geometry()))
            << "the line runs out of " << c.frame;
    }
}

TEST_F(AboutBox, EveryTextIsBoldBlackEightPointSansSerif) {
    TInfoForm box;
    QList<QWidget*> texts;
    for (QLabel* label : box.findChildren<QLabel*>())
        if (label != box.Image1)
            texts << label;
    texts << box.OKBtn;
    ASSERT_EQ(texts.size(), 7);
    for (QWidget* widget : texts) {
        SCOPED_TRACE(widget->objectName().toStdString());
        EXPECT_EQ(widget->font().family(), "MS Sans Serif");
        EXPECT_EQ(widget->font().pixelSize(), 11);
        EXPECT_TRUE(widget->font().bold());
        EXPECT_EQ(widget->palette().color(widget->foregroundRole()), QColor(Qt::black));
    }
}

TEST_F(AboutBox, TextsAreDrawnBoldOnePixelWiderPerLetter) {
    if (tess::test::textDrawnUnlikeAnyDesktop())
        GTEST_SKIP() << tess::test::kTextDrawnUnlikeAnyDesktop;
    TInfoForm box;
    for (QLabel* label : {box.Label4, box.Label5, box.Label1})
        EXPECT_TRUE(tess::test::drawnBold(label));
}

TEST_F(AboutBox, TextsAndButtonLookTheSameAt150And200Percent) {
    if (tess::test::textDrawnUnlikeAnyDesktop())
        GTEST_SKIP() << tess::test::kTextDrawnUnlikeAnyDesktop;
    TInfoForm box;
    for (QLabel* text : {box.Label1, box.Label2, box.Label3, box.Label6, box.Label4, box.Label5})
        EXPECT_TRUE(tess::test::scalesLikeItsPicture(text));
    EXPECT_TRUE(
        tess::test::scalesLikeItsPicture(box.OKBtn, box.OKBtn->rect().adjusted(4, 4, -4, -4)));
}

TEST_F(AboutBox, ImageShowsTheLogoUnscaledFromItsTopLeftCorner) {
    TInfoForm box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QImage logo = tess::ui::tessalumaLogo().convertToFormat(QImage::Format_RGB32);
    const QImage shown =
        box.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(0, 0, 256, 64);
    EXPECT_TRUE(sameImage(shown, logo));
    box.close();
}

TEST_F(AboutBox, OpensCentredWithTheFocusOnOk) {
    TInfoForm box;
    ModalDriver driver;
    QWidget* focus = nullptr;
    QPoint offset;
    driver.then([&](QWidget* modal) {
        focus = QApplication::focusWidget();
        offset = modal->frameGeometry().center() -
                 QGuiApplication::primaryScreen()->availableGeometry().center();
        modal->close();
    });
    box.exec();
    EXPECT_TRUE(driver.problems().isEmpty()) << driver.problems().join('\n').toStdString();
    EXPECT_EQ(focus, box.OKBtn);
    EXPECT_LE(offset.manhattanLength(), 30)
        << "box centre off the screen's centre by " << offset.x() << "," << offset.y();
}

TEST_F(AboutBox, OkEnterAndTheTitleBarCloseEachCloseIt) {
    struct Case {
        const char* name;
        std::function<void(TInfoForm&)> close;
    };
    const Case cases[] = {
        {"click on OK", [](TInfoForm& box) { QTest::mouseClick(box.OKBtn, Qt::LeftButton); }},
        {"Enter", [](TInfoForm& box) { QTest::keyClick(&box, Qt::Key_Return); }},
        {"title-bar close", [](TInfoForm& box) { box.close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TInfoForm box;
        ModalDriver driver(2000);
        driver.then([&](QWidget*) { c.close(box); });
        box.exec();
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_TRUE(driver.problems().isEmpty()) << driver.problems().join('\n').toStdString();
        EXPECT_FALSE(box.isVisible());
    }
}

TEST(Logo, IsA256By64PictureInAtMost16Colours) {
    const QImage logo = tess::ui::tessalumaLogo();
    ASSERT_EQ(logo.size(), QSize(256, 64));
    ASSERT_EQ(logo.format(), QImage::Format_Indexed8);
    EXPECT_LE(logo.colorCount(), 16);

    QSet<QRgb> used;
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x) {
            ASSERT_LT(logo.pixelIndex(x, y), logo.colorCount()) << "at " << x << "," << y;
            used.insert(logo.pixel(x, y));
        }
    EXPECT_GE(used.size(), 4) << "the logo is hardly drawn";
}

TEST(Logo, MarkAndWordsAreDrawnAndKeepClearOfTheEdges) {
    const QImage logo = tess::ui::tessalumaLogo().convertToFormat(QImage::Format_RGB32);
    const QRgb background = logo.pixel(0, 0);
    const auto inkIn = [&](const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += logo.pixel(x, y) != background;
        return count;
    };
    EXPECT_GT(inkIn(QRect(0, 0, 80, 64)), 500) << "no mark on the left";
    EXPECT_GT(inkIn(QRect(84, 0, 172, 64)), 500) << "no words on the right";
    // Nothing cut by the picture's right, top or bottom edge.
    EXPECT_EQ(inkIn(QRect(254, 0, 2, 64)), 0);
    EXPECT_EQ(inkIn(QRect(0, 0, 256, 1)), 0);
    EXPECT_EQ(inkIn(QRect(0, 63, 256, 1)), 0);
}

} // namespace
