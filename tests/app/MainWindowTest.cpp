// The main window: the project holder it builds from the start-up directory, its title, menu
// and size, the commands of its menu and its closing.
#include "FakeFileSystem.h"
#include "ModalDriver.h"
#include "WindowTest.h"

#include "app/TBaseMainForm.h"
#include "app/TInfoForm.h"
#include "platform/FileSystem.h"
#include "platform/SystemFileSystem.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using tess::test::ModalDriver;

// A file system whose current directory is whatever the test says, written as it is given;
// nothing else is used by the main window's creation.
class FixedDirectoryFileSystem final : public tess::test::FakeFileSystem {
public:
    explicit FixedDirectoryFileSystem(std::string directory) : m_directory(std::move(directory)) {}
    std::string currentDirectory() override { return m_directory; }

private:
    std::string m_directory;
};

// Makes a folder the process's working directory for the life of the object.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QString& path) {
        char saved[PATH_MAX];
        if (getcwd(saved, sizeof saved))
            m_saved = saved;
        m_entered = chdir(QFile::encodeName(path).constData()) == 0;
    }
    ~WorkingDirectory() {
        if (!m_saved.empty() && chdir(m_saved.c_str()) != 0)
            ADD_FAILURE() << "could not return to " << m_saved;
    }
    bool entered() const { return m_entered; }

private:
    std::string m_saved;
    bool m_entered = false;
};

// The Windows text for a host folder: on Linux drive C: is the host's root.
std::string windowsText(const QString& hostPath) {
    std::string text = QDir(hostPath).canonicalPath().toStdString();
#ifndef _WIN32
    text = "C:" + text;
#endif
    for (char& c : text)
        if (c == '/')
            c = '\\';
    return text;
}

void expectHolder(const TBaseMainForm& form, const std::string& startDirectory) {
    EXPECT_EQ(form.PercorsoAvvio, startDirectory);
    ASSERT_NE(form.TabForm, nullptr);
    EXPECT_EQ(form.TabForm->PercorsoAvvio, startDirectory);
    EXPECT_EQ(form.TabForm->FileIni, startDirectory + "Tessaluma.ini");
    EXPECT_EQ(form.TabForm->NomeDitta, "Tessaluma");
    EXPECT_EQ(form.windowTitle(), "Progetto Tessaluma - Ditta: Tessaluma");
}

class MainWindow : public tess::test::WindowTest {};

TEST_F(MainWindow, HolderTakesTheStartDirectoryWithOneTrailingBackslash) {
    struct Case {
        const char* current;
        const char* start;
    };
    const Case cases[] = {
        {"D:\\Foto", "D:\\Foto\\"},
        {"D:\\Foto\\", "D:\\Foto\\"},
        {"C:\\", "C:\\"},
        {"E:\\Archivio foto\\2023", "E:\\Archivio foto\\2023\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        FixedDirectoryFileSystem fs(c.current);
        TBaseMainForm form(fs);
        expectHolder(form, c.start);
    }
}

TEST_F(MainWindow, AStartDirectoryAlreadyGoneGivesTheSettingsNoPlace) {
    // Never "\Tessaluma.ini", the root of the drive.
    FixedDirectoryFileSystem fs("");
    TBaseMainForm form(fs);
    ASSERT_NE(form.TabForm, nullptr);
    EXPECT_EQ(form.TabForm->FileIni, "");
}

TEST_F(MainWindow, HolderTakesTheProcessWorkingDirectory) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkdir("Foto di prova"));
    const QString photos = folder.filePath("Foto di prova");

    struct Case {
        QString host;
        std::string start;
    };
    const Case cases[] = {
        {folder.path(), windowsText(folder.path()) + "\\"},
        {photos, windowsText(photos) + "\\"},
#ifdef _WIN32
        {QDir::rootPath(), windowsText(QDir::rootPath())}, // the system drive's root: "C:\"
#else
        {QStringLiteral("/"), "C:\\"},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host.toStdString());
        WorkingDirectory cwd(c.host);
        ASSERT_TRUE(cwd.entered());
        tess::platform::SystemFileSystem fs;
        TBaseMainForm form(fs);
        expectHolder(form, c.start);
    }
}

TEST_F(MainWindow, MenuHasItsItemsInOrderWithTheirNames) {
    struct Item {
        const char* name;
        const char* caption;
    };
    struct Menu {
        Item menu;
        std::vector<Item> items;
    };
    const std::vector<Menu> expected = {
        {{"Sistema1", "Sistema"}, {{"Esci1", "Esci"}}},
        {{"GestioneFoto1", "Foto"}, {{"GestioneFoto2", "Ridimensionamento Foto"}}},
        {{"Info1", "&Info"}, {{"Informazioni1", "&Informazioni"}}},
    };

    FixedDirectoryFileSystem fs("D:\\Foto");
    TBaseMainForm form(fs);
    auto* bar = form.findChild<QMenuBar*>("MainMenu1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, form.menuBar());

    const QList<QAction*> menus = bar->actions();
    ASSERT_EQ(menus.size(), qsizetype(expected.size()));
    for (std::size_t m = 0; m < expected.size(); ++m) {
        SCOPED_TRACE(expected[m].menu.name);
        QMenu* menu = menus[qsizetype(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), expected[m].menu.name);
        EXPECT_EQ(menu->title(), expected[m].menu.caption);

        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), qsizetype(expected[m].items.size()));
        for (std::size_t i = 0; i < expected[m].items.size(); ++i) {
            const Item& item = expected[m].items[i];
            EXPECT_EQ(items[qsizetype(i)]->objectName(), item.name);
            EXPECT_EQ(items[qsizetype(i)]->text(), item.caption);
            // Tests and scripts reach every command by its name from the window.
            EXPECT_EQ(form.findChild<QAction*>(item.name), items[qsizetype(i)]);
        }
    }
}

TEST_F(MainWindow, IsAnEmptyWindowOfItsSizeCentredOnTheScreen) {
    FixedDirectoryFileSystem fs("D:\\Foto");
    TBaseMainForm form(fs);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    EXPECT_EQ(form.size(), QSize(427, 272));
    EXPECT_EQ(form.menuBar()->geometry().top(), 0);
    ASSERT_NE(form.centralWidget(), nullptr);
    EXPECT_TRUE(form.centralWidget()->findChildren<QWidget*>().isEmpty());

    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    const QPoint offset = form.frameGeometry().center() - screenCentre;
    EXPECT_LE(offset.manhattanLength(), 30)
        << "window centre off the screen's centre by " << offset.x() << "," << offset.y();
    form.close();
}

TEST_F(MainWindow, ClosingDestroysTheHolder) {
    struct Case {
        const char* name;
        void (*close)(TBaseMainForm&);
    };
    const Case cases[] = {
        {"Esci", [](TBaseMainForm& f) { f.findChild<QAction*>("Esci1")->trigger(); }},
        {"close button", [](TBaseMainForm& f) { f.close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixedDirectoryFileSystem fs("D:\\Foto");
        TBaseMainForm form(fs);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_NE(form.TabForm, nullptr);
        c.close(form);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.TabForm, nullptr);
        // The holder's values were copied at creation and survive it.
        EXPECT_EQ(form.PercorsoAvvio, "D:\\Foto\\");
    }
}

TEST_F(MainWindow, InformazioniOpensTheAboutBoxModallyAndDestroysIt) {
    FixedDirectoryFileSystem fs("D:\\Foto");
    TBaseMainForm form(fs);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    ModalDriver driver;
    QString title;
    bool ownedByMainWindow = false;
    driver.then([&](QWidget* modal) {
        auto* box = qobject_cast<TInfoForm*>(modal);
        if (!box) {
            ADD_FAILURE() << "not the about box: " << modal->metaObject()->className();
            modal->close();
            return;
        }
        title = box->windowTitle();
        ownedByMainWindow = box->parentWidget() == &form;
        box->OKBtn->click();
    });
    form.findChild<QAction*>("Informazioni1")->trigger();

    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_TRUE(driver.problems().isEmpty()) << driver.problems().join('\n').toStdString();
    EXPECT_EQ(title, "Informazioni Programma");
    EXPECT_TRUE(ownedByMainWindow);
    EXPECT_TRUE(form.findChildren<TInfoForm*>().isEmpty()) << "the about box was not destroyed";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(form.isVisible());
    EXPECT_NE(form.TabForm, nullptr);
    form.close();
}

} // namespace
