// The standard error box that every command of the program reports its failures through.
#include "ModalDriver.h"
#include "WindowTest.h"

#include "dialogs/MessageBoxes.h"
#include "platform/Error.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

using tess::test::ModalDriver;

TEST(ErrorBoxText, FullStopOnlyAfterCharactersThatSortAfterIt) {
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"abc", "abc."},
        {"abc.", "abc."},
        {"x1", "x1."},
        {"a)", "a)"},  // ')' sorts before '.'
        {"a-", "a-"},  // so does '-'
        {"a ", "a "},  // and the blank
        {"a/", "a/."}, // '/' sorts just after '.'
        {"", ""},
        {"JPEG error #42", "JPEG error #42."},
        {"Cannot open file C:\\Foto\\a.jpg", "Cannot open file C:\\Foto\\a.jpg."},
        {"'12a' is not a valid integer value", "'12a' is not a valid integer value."},
        {"Perch\xc3\xa8", "Perch\xc3\xa8."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tess::ui::errorBoxText(QString::fromUtf8(c.message)).toStdString(), c.shown)
            << "message \"" << c.message << "\"";
    }
}

class RunCommand : public tess::test::WindowTest {};

TEST_F(RunCommand, AFailureIsShownInTheErrorBoxAndTheProgramGoesOn) {
    struct Case {
        const char* name;
        std::function<void()> failure;
        const char* shown; // nullptr: no box
    };
    const Case cases[] = {
        {"program error", [] { throw tess::Error("abc"); }, "abc."},
        {"runtime error ending in a full stop",
         [] { throw std::runtime_error("Cannot create file C:\\Foto\\x.jpg."); },
         "Cannot create file C:\\Foto\\x.jpg."},
        {"no failure", [] {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget owner;
        owner.show();
        ModalDriver driver;
        if (c.shown)
            driver.accept();
        bool afterFailure = false;
        tess::ui::runCommand(&owner, [&] {
            c.failure();
            afterFailure = true;
        });

        EXPECT_TRUE(owner.isVisible());
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_TRUE(driver.problems().isEmpty()) << driver.problems().join('\n').toStdString();
        if (!c.shown) {
            EXPECT_TRUE(afterFailure);
            EXPECT_TRUE(driver.seen().empty());
            continue;
        }
        EXPECT_FALSE(afterFailure) << "the command went on after its failure";
        ASSERT_EQ(driver.seen().size(), 1u);
        const ModalDriver::Seen& box = driver.seen().front();
        EXPECT_EQ(box.className, "QMessageBox");
        EXPECT_EQ(box.title, "TESSALUMA");
        EXPECT_EQ(box.text.toStdString(), c.shown);
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        EXPECT_EQ(box.buttons, QStringList{"OK"});
    }
}

// A question keeps its lines whole however long they are (the toolkit's box wraps beyond
// about 500 pixels); only a line wider than the screen is wrapped, to keep the box on it.
TEST_F(RunCommand, BoxesKeepTheirLinesWholeWithinTheScreen) {
    const QString line = QString::fromUtf8("La foto verrà cancellata permanentemente dal disco "
                                           "rigido assieme alla relativa foto thumb");
    for (int repeats : {1, 4}) {
        QWidget owner;
        owner.show();
        ModalDriver driver;
        driver.then([&](QWidget* box) {
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            const int lines = label->height() / label->fontMetrics().lineSpacing();
            EXPECT_TRUE(repeats == 1 ? lines == 2 : lines > 2) << lines << " lines";
            EXPECT_TRUE(box->screen()->availableGeometry().contains(box->frameGeometry()));
            static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
        EXPECT_TRUE(
            tess::ui::confirm(&owner, "Confermare eliminazione foto?\n" + line.repeated(repeats)));
    }
}

} // namespace
