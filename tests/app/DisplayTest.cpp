// Display tests: the workspace opened from the main menu on a real X display, its boxes and
// dialogs opened with the real pointer, and what the screen then shows where they stand.
#include "ModalDriver.h"
#include "TempDir.h"
#include "WindowTest.h"

#include "app/TBaseMainForm.h"
#include "dialogs/TTavIn1Form.h"
#include "platform/SystemFileSystem.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <functional>
#include <utility>

namespace {

using tess::test::ModalDriver;

// The pointer of the X server, moved and clicked as a user's mouse would be.
class RealPointer {
public:
    RealPointer() : m_connection(xcb_connect(nullptr, nullptr)) {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~RealPointer() { xcb_disconnect(m_connection); }
    RealPointer(const RealPointer&) = delete;
    RealPointer& operator=(const RealPointer&) = delete;

    void click(const QPoint& at, xcb_button_t button = 1) {
        xcb_test_fake_input(m_connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root,
                            std::int16_t(at.x()), std::int16_t(at.y()), 0);
        xcb_test_fake_input(m_connection, XCB_BUTTON_PRESS, button, XCB_CURRENT_TIME, XCB_NONE, 0,
                            0, 0);
        xcb_test_fake_input(m_connection, XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME, XCB_NONE, 0,
                            0, 0);
        xcb_flush(m_connection);
    }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_NONE;
};

constexpr int kPatienceMs = 5000;

// What the screen shows where a window stands is what the window draws, and has text in it.
::testing::AssertionResult shownOnScreen(QWidget* window) {
    if (!QTest::qWaitForWindowExposed(window, kPatienceMs))
        return ::testing::AssertionFailure() << "the window was never exposed";
    const QImage drawn = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage shown;
    int same = 0;
    const int pixels = drawn.width() * drawn.height();
    // The X server may take a moment to show the last flush.
    (void)QTest::qWaitFor(
        [&] {
            const QRect area = window->geometry();
            shown = window->screen()
                        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                        .toImage()
                        .convertToFormat(QImage::Format_RGB32);
            same = 0;
            for (int y = 0; y < std::min(shown.height(), drawn.height()); ++y)
                for (int x = 0; x < std::min(shown.width(), drawn.width()); ++x)
                    same += shown.pixel(x, y) == drawn.pixel(x, y);
            return same >= pixels * 98 / 100;
        },
        kPatienceMs);
    int dark = 0; // the text
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            dark += qGray(shown.pixel(x, y)) < 96;
    if (same >= pixels * 98 / 100 && dark >= 40)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << window->windowTitle().toStdString() << ": the screen shows " << same << " of "
           << pixels << " pixels as drawn, " << dark << " dark";
}

// The real program, started in a folder whose settings point at three photo folders.
class DisplayTest : public tess::test::WindowTest {
protected:
    // A file layer whose start-up directory is the scratch folder.
    class ScratchFileSystem final : public tess::platform::SystemFileSystem {
    public:
        explicit ScratchFileSystem(std::string start) : m_start(std::move(start)) {}
        std::string currentDirectory() override { return m_start; }

    private:
        std::string m_start;
    };

    DisplayTest() : fs(dir.win() + "\\") {
        for (const char* folder : {"originali", "ridotte", "thumbs"})
            dir.mkdir(folder);
        dir.write("Tessaluma.ini", "[Tessaluma]\r\nPercorsoFotoOriginali=" + dir.win("originali") +
                                       "\\\r\nPercorsoFotoRidotte=" + dir.win("ridotte") +
                                       "\\\r\nPercorsoFotoThumbs=" + dir.win("thumbs") +
                                       "\\\r\nAnteprimaOriginali=SI\r\n");
    }

    // Opens the workspace from the main menu with the pointer; each modal window that then
    // appears is answered by the next step, the workspace's own included.
    void openWorkspace(ModalDriver& driver) {
        TBaseMainForm mainForm(fs);
        mainForm.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainForm, kPatienceMs));
        QMenuBar* bar = mainForm.MainMenu1;
        pointer.click(
            bar->mapToGlobal(bar->actionGeometry(mainForm.GestioneFoto1->menuAction()).center()));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return mainForm.GestioneFoto1->isVisible(); }, kPatienceMs));
        chooseFromMenu(mainForm.GestioneFoto1, mainForm.GestioneFoto2);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return driver.pendingSteps() == 0 && !QApplication::activeModalWidget(); },
            4 * kPatienceMs));
        mainForm.close();
    }

    void chooseFromMenu(QMenu* menu, QAction* action) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(menu, kPatienceMs));
        pointer.click(menu->mapToGlobal(menu->actionGeometry(action).center()));
    }

    // The workspace's step: right-clicks the first photo of the originals grid, chooses a
    // command of its menu, lets `answer` check and close the box the command opens, and closes
    // the workspace.
    ModalDriver::Step fromOriginalsMenu(const char* command, std::function<void(QWidget*)> answer) {
        return [this, command, answer](QWidget* workspace) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(workspace, kPatienceMs));
            auto* grid = workspace->findChild<QTableView*>(QStringLiteral("DBGrid1"));
            auto* menu = workspace->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
            const QRect first = grid->visualRect(grid->model()->index(0, 0));
            // The box opens inside the handling of the click: a timer of its own answers it.
            bool answered = false;
            QTimer watch;
            QObject::connect(&watch, &QTimer::timeout, [&] {
                QWidget* box = QApplication::activeModalWidget();
                if (box && box != workspace && box->isVisible() && !std::exchange(answered, true))
                    answer(box);
            });
            watch.start(10);
            pointer.click(grid->viewport()->mapToGlobal(first.topLeft() + QPoint(20, 5)), 3);
            if (QTest::qWaitFor([&] { return menu->isVisible(); }, kPatienceMs))
                chooseFromMenu(menu, workspace->findChild<QAction*>(QString::fromLatin1(command)));
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return answered && QApplication::activeModalWidget() == workspace; },
                kPatienceMs));
            workspace->close();
        };
    }

    tess::test::TempDir dir;
    ScratchFileSystem fs;
    RealPointer pointer;
};

} // namespace

// The desktop entry names the class of the program's windows, so that a dock pairs the running
// program with its launcher.
TEST_F(DisplayTest, TheDesktopEntryNamesTheWindowsClass) {
    TBaseMainForm mainForm(fs);
    mainForm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainForm, kPatienceMs));
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const auto cookie = xcb_get_property(connection, 0, xcb_window_t(mainForm.winId()),
                                         XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    ASSERT_NE(reply, nullptr);
    // The instance name, then the class, each ended by a zero byte.
    const QByteArray names(static_cast<const char*>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    std::free(reply);
    xcb_disconnect(connection);
    QFile entry(QStringLiteral(TESS_DESKTOP_ENTRY));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    const QByteArray windowClass = names.split('\0').value(1);
    EXPECT_TRUE(entry.readAll().split('\n').contains("StartupWMClass=" + windowClass))
        << windowClass.data();
}

TEST_F(DisplayTest, TheConfirmationOfConvertIsDrawn) {
    dir.write("originali/a.txt");
    ModalDriver driver(4 * kPatienceMs);
    driver.then(fromOriginalsMenu("Converti1", [](QWidget* box) {
        EXPECT_EQ(box->windowTitle(), "Confirm");
        EXPECT_TRUE(shownOnScreen(box));
        tess::test::clickMessageBoxButton(box, QMessageBox::Cancel);
    }));
    openWorkspace(driver);
}

TEST_F(DisplayTest, TheRenameDialogIsDrawn) {
    dir.write("originali/a.txt");
    ModalDriver driver(4 * kPatienceMs);
    driver.then(fromOriginalsMenu("RinominaFotoCorrente1", [](QWidget* dialog) {
        EXPECT_TRUE(qobject_cast<TTavIn1Form*>(dialog));
        EXPECT_TRUE(shownOnScreen(dialog));
        static_cast<QDialog*>(dialog)->reject();
    }));
    openWorkspace(driver);
    EXPECT_TRUE(dir.exists("originali/a.txt"));
}

TEST_F(DisplayTest, AnErrorBoxRaisedWhileTheWorkspaceOpensIsDrawn) {
    dir.write("originali/rotta.jpg", "not a photo");
    // The originals preview fails as the workspace opens, and its box comes over the
    // workspace: either of the two may reach the driver first.
    ModalDriver driver(4 * kPatienceMs);
    bool boxAnswered = false;
    const ModalDriver::Step step = [&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            EXPECT_EQ(box->icon(), QMessageBox::Critical);
            EXPECT_TRUE(shownOnScreen(box));
            tess::test::clickMessageBoxButton(box, QMessageBox::Ok);
            boxAnswered = true;
            return;
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return boxAnswered; }, 4 * kPatienceMs));
        modal->close();
    };
    driver.then(step).then(step);
    openWorkspace(driver);
    EXPECT_TRUE(boxAnswered);
}
