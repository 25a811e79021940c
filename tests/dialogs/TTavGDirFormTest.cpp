// The directory selection dialog and its folder tree, on real temporary folders and, for more
// than one drive, on a fake file layer.
#include "FakeFileSystem.h"
#include "ModalDriver.h"
#include "TextInk.h"
#include "WindowTest.h"

#include "dialogs/DialogPictures.h"
#include "dialogs/TTavGDirForm.h"
#include "platform/SystemFileSystem.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using tess::platform::SystemFileSystem;
using tess::test::FakeFileSystem;
using tess::test::ModalDriver;

const char kTitle[] = "Selezione directory tabelle temporanee - Ditta: ";

std::vector<std::string> lines(const QListWidget& list) {
    std::vector<std::string> result;
    for (int row = 0; row < list.count(); ++row)
        result.push_back(list.item(row)->text().toStdString());
    return result;
}

int rowOf(const QListWidget& list, const char* text) {
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->text() == QString::fromUtf8(text))
            return row;
    ADD_FAILURE() << "no line " << text;
    return -1;
}

QPoint centreOf(QListWidget& list, int row) {
    return list.visualItemRect(list.item(row)).center();
}

void doubleClick(QListWidget& list, const char* text) {
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centreOf(list, rowOf(list, text)));
}

void click(QListWidget& list, const char* text) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOf(list, rowOf(list, text)));
}

std::string labelText(const QLabel* label) {
    return label->text().toStdString();
}

// "C:\a\b" gives "C:\", "a", "b".
std::vector<std::string> levelsOf(const std::string& folder) {
    std::vector<std::string> levels{folder.substr(0, 3)};
    const QStringList parts =
        QString::fromStdString(folder.substr(3)).split(u'\\', Qt::SkipEmptyParts);
    for (const QString& part : parts)
        levels.push_back(part.toStdString());
    return levels;
}

// A temporary folder holding Alfa, Beta, Città and Gamma and a file; the process's current
// directory is restored after each test, since the dialog moves it.
class TTavGDirFormTest : public tess::test::WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        QDir dir(m_temp.path());
        for (const char* name : {"Alfa", "Beta", "Citt\xc3\xa0", "Gamma"})
            ASSERT_TRUE(dir.mkdir(QString::fromUtf8(name)));
        QFile file(dir.filePath(QStringLiteral("note.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        m_savedDirectory = m_fs.currentDirectory();
        m_folder = SystemFileSystem::windowsPath(m_temp.path().toStdString());
        ASSERT_TRUE(m_fs.directoryExists(m_folder)) << m_folder;
    }

    void TearDown() override {
        m_fs.setCurrentDirectory(m_savedDirectory);
        tess::test::WindowTest::TearDown();
    }

public:
    // Read by the cases of the table-driven tests.
    std::string sub(const char* name) const { return m_folder + '\\' + name; }

    // The lines the tree shows for the temporary folder: its levels, then its subfolders in the
    // order the directory search gives them.
    std::vector<std::string> expectedLines() {
        std::vector<std::string> result = levelsOf(m_folder);
        for (const auto& entry : m_fs.findFiles(m_folder + "\\*.*"))
            if (entry.name != "." && entry.name != ".." && entry.name != "note.txt")
                result.push_back(entry.name);
        return result;
    }

    QTemporaryDir m_temp;
    SystemFileSystem m_fs;
    std::string m_savedDirectory;
    std::string m_folder;
};

TEST_F(TTavGDirFormTest, OpensAtTheCallersFolderHoweverItIsWritten) {
    struct Case {
        const char* name;
        std::function<std::string(const std::string&)> spell;
    };
    const Case cases[] = {
        {"as the program stores it, with a trailing backslash",
         [](const std::string& f) { return f + '\\'; }},
        {"without a trailing backslash", [](const std::string& f) { return f; }},
        {"with slashes",
         [](const std::string& f) {
             std::string s = f;
             std::replace(s.begin(), s.end(), '\\', '/');
             return s;
         }},
        {"with a lower-case drive letter",
         [](const std::string& f) {
             std::string s = f;
             s[0] = 'c';
             return s;
         }},
    };
    const std::vector<std::string> expected = expectedLines();
    ASSERT_EQ(expected.size(), levelsOf(m_folder).size() + 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_fs.setCurrentDirectory(m_savedDirectory);
        std::string percorso = c.spell(m_folder);
        TTavGDirForm form(nullptr, "Rossi", percorso, m_fs);
        EXPECT_EQ(form.DirectoryListBox1->directory(), m_folder);
        EXPECT_EQ(labelText(form.Label1), m_folder);
        EXPECT_EQ(lines(*form.DirectoryListBox1), expected);
        EXPECT_EQ(form.DirectoryListBox1->currentRow(), form.DirectoryListBox1->levelCount() - 1);
        EXPECT_EQ(m_fs.currentDirectory(), m_folder);
        EXPECT_EQ(form.Esito, "ok");
        EXPECT_EQ(percorso, c.spell(m_folder)) << "nothing is written before OK";
    }
}

TEST_F(TTavGDirFormTest, BrowsingAndAnswering) {
    struct Case {
        const char* name;
        std::function<void(TTavGDirForm&)> act;
        std::string esito;
        std::function<std::string(TTavGDirFormTest&)> percorso;
        std::function<std::string(TTavGDirFormTest&)> currentDirectory;
    };
    auto unchanged = [](TTavGDirFormTest&) { return std::string("C:\\Dati\\"); };
    auto folder = [](TTavGDirFormTest& t) { return t.m_folder; };
    auto beta = [](TTavGDirFormTest& t) { return t.sub("Beta"); };
    const Case cases[] = {
        {"OK without browsing", [](TTavGDirForm& f) { QTest::mouseClick(f.OKBtn, Qt::LeftButton); },
         "ok", [](TTavGDirFormTest& t) { return t.m_folder + '\\'; }, folder},
        {"Enter on OK, where the focus starts",
         [](TTavGDirForm& f) { QTest::keyClick(f.focusWidget(), Qt::Key_Return); }, "ok",
         [](TTavGDirFormTest& t) { return t.m_folder + '\\'; }, folder},
        {"double-click a subfolder, then OK",
         [](TTavGDirForm& f) {
             doubleClick(*f.DirectoryListBox1, "Beta");
             EXPECT_EQ(labelText(f.Label1), f.DirectoryListBox1->directory());
             QTest::mouseClick(f.OKBtn, Qt::LeftButton);
         },
         "ok", [](TTavGDirFormTest& t) { return t.sub("Beta") + '\\'; }, beta},
        {"double-click a subfolder whose name is not plain ASCII, then OK",
         [](TTavGDirForm& f) {
             doubleClick(*f.DirectoryListBox1, "Citt\xc3\xa0");
             QTest::mouseClick(f.OKBtn, Qt::LeftButton);
         },
         "ok", [](TTavGDirFormTest& t) { return t.sub("Citt\xc3\xa0") + '\\'; },
         [](TTavGDirFormTest& t) { return t.sub("Citt\xc3\xa0"); }},
        {"single-click a subfolder, then OK",
         [](TTavGDirForm& f) {
             click(*f.DirectoryListBox1, "Beta");
             EXPECT_EQ(f.DirectoryListBox1->currentItem()->text(), QStringLiteral("Beta"));
             QTest::mouseClick(f.OKBtn, Qt::LeftButton);
         },
         "ok", [](TTavGDirFormTest& t) { return t.m_folder + '\\'; }, folder},
        {"highlight a subfolder with the arrow keys, Enter, then OK",
         [](TTavGDirForm& f) {
             f.DirectoryListBox1->setFocus();
             QTest::keyClick(f.DirectoryListBox1, Qt::Key_Down);
             QTest::keyClick(f.DirectoryListBox1, Qt::Key_Down);
             QTest::keyClick(f.DirectoryListBox1, Qt::Key_Return);
             EXPECT_TRUE(f.isVisible()) << "Enter in the tree must not press OK";
             QTest::mouseClick(f.OKBtn, Qt::LeftButton);
         },
         "ok", [](TTavGDirFormTest& t) { return t.sub("Beta") + '\\'; }, beta},
        {"double-click the level above, then OK",
         [](TTavGDirForm& f) {
             auto& tree = *f.DirectoryListBox1;
             const int parentRow = tree.levelCount() - 2;
             QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, centreOf(tree, parentRow));
             QTest::mouseClick(f.OKBtn, Qt::LeftButton);
         },
         "ok", [](TTavGDirFormTest& t) { return t.m_folder.substr(0, t.m_folder.rfind('\\') + 1); },
         [](TTavGDirFormTest& t) { return t.m_folder.substr(0, t.m_folder.rfind('\\')); }},
        {"double-click a subfolder, then Cancel",
         [](TTavGDirForm& f) {
             doubleClick(*f.DirectoryListBox1, "Beta");
             QTest::mouseClick(f.CancelBtn, Qt::LeftButton);
         },
         "cancel", unchanged, beta},
        {"double-click a subfolder, then Esc",
         [](TTavGDirForm& f) {
             doubleClick(*f.DirectoryListBox1, "Beta");
             QTest::keyClick(f.focusWidget(), Qt::Key_Escape);
         },
         "cancel", unchanged, beta},
        {"double-click a subfolder, then close the window",
         [](TTavGDirForm& f) {
             doubleClick(*f.DirectoryListBox1, "Beta");
             f.close();
         },
         "ok", unchanged, beta},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The caller's text names another folder than the one the dialog opens at, so that
        // "untouched" cannot be mistaken for "rewritten with the same text".
        std::string percorso = "C:\\Dati\\";
        ASSERT_TRUE(m_fs.setCurrentDirectory(m_folder));
        TTavGDirForm form(nullptr, "Rossi", percorso, m_fs);
        ASSERT_EQ(form.DirectoryListBox1->directory(), m_folder);
        ModalDriver driver;
        driver.then([&](QWidget* modal) {
            ASSERT_EQ(modal, &form);
            c.act(form);
        });
        form.exec();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.Esito, c.esito);
        EXPECT_EQ(percorso, c.percorso(*this));
        EXPECT_EQ(m_fs.currentDirectory(), c.currentDirectory(*this));
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_TRUE(driver.problems().isEmpty()) << driver.problems().join(u'\n').toStdString();
    }
}

TEST_F(TTavGDirFormTest, TheDrivesRootGivesTwoBackslashes) {
    std::string percorso = "C:\\";
    TTavGDirForm form(nullptr, "Rossi", percorso, m_fs);
    auto& tree = *form.DirectoryListBox1;
    EXPECT_EQ(tree.directory(), "C:\\");
    EXPECT_EQ(labelText(form.Label1), "C:\\");
    ASSERT_EQ(tree.levelCount(), 1);
    EXPECT_EQ(tree.item(0)->text(), QStringLiteral("C:\\"));
    EXPECT_GE(tree.count(), 2) << "the root's folders (tmp at least) follow it";
    EXPECT_EQ(m_fs.currentDirectory(), "C:\\");
    form.show();
    QTest::mouseClick(form.OKBtn, Qt::LeftButton);
    EXPECT_EQ(percorso, "C:\\\\");
    EXPECT_EQ(form.Esito, "ok");
}

TEST_F(TTavGDirFormTest, APathThatNamesNoFolderOpensAtTheCurrentDirectoryWithoutAMessage) {
    const std::string missing = sub("Manca") + '\\';
    const std::string file = sub("note.txt");
    const char* relative = "Alfa"; // a folder below the current directory, yet not a full path
    const char* cases[] = {missing.c_str(),       file.c_str(), relative,
                           "\\\\server\\share\\", "C:Alfa",     ""};
    for (const char* path : cases) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(m_fs.setCurrentDirectory(m_folder));
        std::string percorso = path;
        TTavGDirForm form(nullptr, "Rossi", percorso, m_fs);
        ModalDriver driver;
        driver.then([&](QWidget* modal) {
            EXPECT_EQ(labelText(form.Label1), m_folder);
            EXPECT_EQ(lines(*form.DirectoryListBox1), expectedLines());
            EXPECT_EQ(form.DriveComboBox1->currentText(), QStringLiteral("c:"));
            form.CancelBtn->click();
        });
        form.exec();
        ASSERT_EQ(driver.seen().size(), 1u) << "only the dialog itself may appear";
        EXPECT_TRUE(driver.problems().isEmpty()) << driver.problems().join(u'\n').toStdString();
        EXPECT_EQ(percorso, path);
        EXPECT_EQ(m_fs.currentDirectory(), m_folder);
    }
}

TEST_F(TTavGDirFormTest, IsCentredOnTheScreenNotOnItsOwner) {
    QWidget owner;
    owner.setGeometry(40, 60, 900, 700);
    owner.show();
    std::string percorso = m_folder;
    TTavGDirForm form(&owner, "Rossi", percorso, m_fs);
    form.show();
    const QPoint screenCentre = form.screen()->availableGeometry().center();
    EXPECT_LE((form.frameGeometry().center() - screenCentre).manhattanLength(), 4);
    form.close();
    owner.close();
}

TEST_F(TTavGDirFormTest, TextsAreDrawnBoldOnePixelWiderPerLetter) {
    if (tess::test::textDrawnUnlikeAnyDesktop())
        GTEST_SKIP() << tess::test::kTextDrawnUnlikeAnyDesktop;
    std::string percorso = m_folder;
    TTavGDirForm form(nullptr, "Rossi", percorso, m_fs);
    for (QLabel* label : {form.Label2, form.Label1})
        EXPECT_TRUE(tess::test::drawnBold(label));
}

// Every text is struck twice, the highlighted entry's too, and looks at 150 % and 200 % like
// its 100 % picture made bigger. The areas leave out what the style draws on its own (frames,
// the arrow) and the drives' icons, which a widget drawn off the screen takes at the screen's
// scale; the pictures are drawn for the screen's own pixels, leaving nothing to blur.
TEST_F(TTavGDirFormTest, TextsAreBoldAndLookTheSameAt150And200Percent) {
    if (tess::test::textDrawnUnlikeAnyDesktop())
        GTEST_SKIP() << tess::test::kTextDrawnUnlikeAnyDesktop;
    using tess::test::scalesLikeItsPicture;
    std::string percorso = m_folder;
    TTavGDirForm form(nullptr, "Rossi", percorso, m_fs);
    auto& tree = *form.DirectoryListBox1;
    QPalette colours = tree.palette();
    colours.setColor(QPalette::Base, Qt::gray); // the highlighted text is then the only white
    tree.setPalette(colours);
    form.show();
    const auto black = [](QRgb pixel) { return pixel == qRgb(0, 0, 0); };
    const auto white = [](QRgb pixel) { return pixel == qRgb(255, 255, 255); };
    const QRect line = tree.visualItemRect(tree.item(rowOf(tree, "Alfa")));
    const int plain = tess::test::inkOf(tree.viewport()->grab(line).toImage(), black).pixels;
    tree.setCurrentRow(rowOf(tree, "Alfa"));
    EXPECT_GT(plain, 20);
    EXPECT_NEAR(tess::test::inkOf(tree.viewport()->grab(line).toImage(), white).pixels, plain,
                plain / 10);

    for (QWidget* text : std::initializer_list<QWidget*>{form.Label2, form.Label1, form.Label3,
                                                         form.Label4, tree.viewport()})
        EXPECT_TRUE(scalesLikeItsPicture(text));
    for (QWidget* button : {form.OKBtn, form.CancelBtn})
        EXPECT_TRUE(scalesLikeItsPicture(button, button->rect().adjusted(4, 4, -4, -4)));
    QComboBox* drive = form.DriveComboBox1;
    EXPECT_TRUE(scalesLikeItsPicture(drive, drive->rect().adjusted(22, 2, -30, -2)));
    drive->showPopup();
    QWidget* drives = drive->view()->viewport();
    EXPECT_TRUE(scalesLikeItsPicture(drives, drives->rect().adjusted(22, 0, 0, 0), white));
    drive->hidePopup();
    form.close();
    for (const QIcon& icon : {form.OKBtn->icon(), tess::ui::folderPicture(true)})
        for (qreal ratio : {1.5, 2.0})
            EXPECT_EQ(icon.pixmap(QSize(16, 16), ratio).size(), QSize(16, 16) * ratio);
}

TEST_F(TTavGDirFormTest, TheTitleNamesTheCompany) {
    const char* names[] = {"Rossi", "Foto Bianchi & Figli", "Societ\xc3\xa0 Verdi", ""};
    for (const char* name : names) {
        std::string percorso = m_folder;
        TTavGDirForm form(nullptr, name, percorso, m_fs);
        EXPECT_EQ(form.windowTitle().toStdString(), std::string(kTitle) + name);
    }
}

TEST_F(TTavGDirFormTest, Layout) {
    std::string percorso = m_folder;
    TTavGDirForm form(nullptr, "Rossi", percorso, m_fs);
    EXPECT_EQ(form.size(), QSize(416, 288));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowContextHelpButtonHint));

    struct Place {
        const char* name;
        QRect geometry;
    };
    const Place places[] = {
        {"Bevel1", {8, 8, 393, 265}},           {"DirectoryListBox1", {18, 56, 143, 169}},
        {"DriveComboBox1", {18, 248, 143, 19}}, {"OKBtn", {317, 15, 77, 34}},
        {"CancelBtn", {317, 55, 77, 34}},
    };
    for (const Place& p : places) {
        auto* control = form.findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(control, nullptr) << p.name;
        EXPECT_EQ(control->geometry(), p.geometry) << p.name;
    }

    struct Caption {
        const char* name;
        QPoint position;
        const char* text;
    };
    const Caption captions[] = {
        {"Label2", {16, 16}, "Percorso:"},
        {"Label3", {17, 40}, "&Directory:"},
        {"Label4", {17, 230}, "&Unit\xc3\xa0 disco:"},
    };
    for (const Caption& c : captions) {
        auto* label = form.findChild<QLabel*>(QString::fromLatin1(c.name));
        ASSERT_NE(label, nullptr) << c.name;
        EXPECT_EQ(label->pos(), c.position) << c.name;
        EXPECT_EQ(label->text(), QString::fromUtf8(c.text)) << c.name;
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()) -
                                      label->fontMetrics().horizontalAdvance(u'&'))
            << c.name << " cut off";
        EXPECT_TRUE(label->font().bold()) << c.name;
        EXPECT_EQ(label->font().pixelSize(), 11) << c.name;
    }
    EXPECT_EQ(form.Label1->pos(), QPoint(80, 16));
    EXPECT_EQ(form.Label3->buddy(), form.DirectoryListBox1);
    EXPECT_EQ(form.Label4->buddy(), form.DriveComboBox1);
    for (QWidget* text :
         {static_cast<QWidget*>(form.Label1), static_cast<QWidget*>(form.DirectoryListBox1),
          static_cast<QWidget*>(form.OKBtn)})
        EXPECT_TRUE(text->font().bold()) << text->objectName().toStdString();

    EXPECT_EQ(form.OKBtn->text(), QStringLiteral("OK"));
    EXPECT_EQ(form.CancelBtn->text(), QStringLiteral("Cancel"));
    const QImage check = form.OKBtn->icon().pixmap(16, QIcon::Normal).toImage();
    const QImage greyCheck = form.OKBtn->icon().pixmap(16, QIcon::Disabled).toImage();
    EXPECT_FALSE(check.isNull());
    EXPECT_NE(check, greyCheck) << "the disabled check mark is a picture of its own";
    EXPECT_FALSE(form.CancelBtn->icon().isNull());

    // Every line of the tree is 16 pixels high.
    auto& tree = *form.DirectoryListBox1;
    ASSERT_GE(tree.count(), 2);
    EXPECT_EQ(tree.visualItemRect(tree.item(0)).height(), 16);
    EXPECT_EQ(tree.visualItemRect(tree.item(1)).top(),
              tree.visualItemRect(tree.item(0)).top() + 16);

    // The tab order starts at OK, which holds the focus when the dialog opens.
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.OKBtn);
    for (QWidget* next :
         {static_cast<QWidget*>(form.CancelBtn), static_cast<QWidget*>(form.DirectoryListBox1),
          static_cast<QWidget*>(form.DriveComboBox1), static_cast<QWidget*>(form.OKBtn)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
    // The underlined letters of the captions reach the controls they name.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.DirectoryListBox1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.DriveComboBox1);
    form.close();
}

TEST_F(TTavGDirFormTest, ALongPathIsShortenedBeforeTheButtonsAndItsLineShown) {
    QString host = m_temp.path();
    for (int level = 0; level < 10; ++level) {
        host += QStringLiteral("/Cartella con un nome piuttosto lungo %1").arg(level);
        ASSERT_TRUE(QDir().mkpath(host));
    }
    std::string percorso = SystemFileSystem::windowsPath(host.toStdString());
    TTavGDirForm form(nullptr, "Rossi", percorso, m_fs);
    form.show();
    EXPECT_EQ(labelText(form.Label1), percorso) << "the label keeps the whole path";
    EXPECT_EQ(form.Label1->toolTip(), form.Label1->text());
    EXPECT_LE(form.Label1->geometry().right(), form.OKBtn->x() - 1);
    EXPECT_GT(form.Label1->width(), 150);
    // The current folder's line, far down the levels, is scrolled into view.
    auto& tree = *form.DirectoryListBox1;
    ASSERT_GT(tree.levelCount() * 16, tree.viewport()->height());
    const QRect line = tree.visualItemRect(tree.item(tree.levelCount() - 1));
    EXPECT_GE(line.top(), 0);
    EXPECT_LE(line.bottom(), tree.viewport()->rect().bottom());
    form.close();

    // A short path needs no tip.
    std::string shortPath = "C:\\";
    TTavGDirForm rootForm(nullptr, "Rossi", shortPath, m_fs);
    EXPECT_TRUE(rootForm.Label1->toolTip().isEmpty());
}

// A path too long for the label keeps its drive and its last folders, with three dots for
// what is left out; here a text fits when it has at most `room` characters.
TEST(ShortenPath, KeepsTheDriveAndTheLastFoldersAndMarksTheCutWithThreeDots) {
    const std::pair<int, const char*> cases[] = {
        {33, "C:\\Utenti\\anna\\Immagini\\Mare 2024"},
        {32, "C:\\...\\anna\\Immagini\\Mare 2024"},
        {24, "C:\\...\\Mare 2024"},
        {13, "...\\Mare 2024"},
        {10, "...\\Mar..."},
    };
    for (const auto& [room, shown] : cases) {
        const auto fits = [room = room](const QString& text) { return text.size() <= room; };
        const QString path = QStringLiteral("C:\\Utenti\\anna\\Immagini\\Mare 2024");
        EXPECT_EQ(tess::ui::shortenPath(path, fits).toStdString(), shown) << room;
    }
}

// The tree on its own, on the fake layer: where it starts, which paths it opens, and when it
// reports a change.
TEST(DirectoryListBox, OpensOnlyExistingFoldersAndReportsRealChanges) {
    FakeFileSystem fs;
    fs.addFolder("C:\\Lavoro\\Foto");
    fs.addFolder("C:\\Lavoro\\Archivio");
    ASSERT_TRUE(fs.setCurrentDirectory("C:\\Lavoro"));
    DirectoryListBox tree(fs);
    EXPECT_EQ(tree.directory(), "C:\\Lavoro");
    EXPECT_EQ(lines(tree), (std::vector<std::string>{"C:\\", "Lavoro", "Archivio", "Foto"}));
    EXPECT_EQ(tree.itemPath(3), "C:\\Lavoro\\Foto");
    EXPECT_EQ(tree.itemPath(0), "C:\\");
    QSignalSpy changes(&tree, &DirectoryListBox::changed);

    struct Step {
        const char* path;
        const char* directory;
        int changes;
    };
    const Step steps[] = {
        {"C:\\Lavoro\\Foto\\", "C:\\Lavoro\\Foto", 1},
        {"C:\\Lavoro\\Foto", "C:\\Lavoro\\Foto", 1}, // the same folder: no change
        {"C:\\Lavoro\\Manca", "C:\\Lavoro\\Foto", 1},
        {"Archivio", "C:\\Lavoro\\Foto", 1},
        {"", "C:\\Lavoro\\Foto", 1},
        {"C:", "C:\\Lavoro\\Foto", 1}, // the drive it is on already
        {"C:/Lavoro/Archivio", "C:\\Lavoro\\Archivio", 2},
        {"C:\\", "C:\\", 3},
        {"D:", "D:\\", 4},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.path);
        tree.setDirectory(s.path);
        EXPECT_EQ(tree.directory(), s.directory);
        EXPECT_EQ(fs.currentDirectory(), s.directory);
        EXPECT_EQ(changes.count(), s.changes);
    }
    EXPECT_EQ(lines(tree), (std::vector<std::string>{"D:\\"})) << "the file is left out";
}

TEST(DirectoryListBox, AnotherDriveOpensAtItsRootAndTheOwnDriveAtTheCurrentDirectory) {
    FakeFileSystem fs;
    fs.addFolder("C:\\Lavoro");
    fs.addFolder("D:\\Foto");
    ASSERT_TRUE(fs.setCurrentDirectory("C:\\Lavoro"));
    DirectoryListBox tree(fs);
    tree.setDrive('d');
    EXPECT_EQ(tree.directory(), "D:\\");
    EXPECT_EQ(tree.drive(), 'D');
    tree.openItem(1);
    EXPECT_EQ(tree.directory(), "D:\\Foto");
    tree.setDrive('D');
    EXPECT_EQ(tree.directory(), "D:\\Foto") << "the drive it is on: no move";
    tree.setDrive('C');
    EXPECT_EQ(tree.directory(), "C:\\");
}

TEST(TTavGDirFormDrives, TheDriveListFollowsThePathsDrive) {
    struct Case {
        const char* start;    // the process's current directory
        const char* percorso; // the caller's path
        const char* directory;
        const char* drive;
    };
    const Case cases[] = {
        {"C:\\Lavoro", "D:\\Foto\\", "D:\\Foto", "d:"},
        {"D:\\Foto", "C:\\Lavoro\\", "C:\\Lavoro", "c:"},
        // The fake layer matches letter case exactly: the folder is missing, its drive is not.
        {"D:\\Foto", "c:\\lavoro", "C:\\", "c:"},
        {"C:\\Lavoro", "D:\\Manca\\", "D:\\", "d:"}, // the drive is there, the folder is not
        {"C:\\Lavoro", "Q:\\Foto\\", "C:\\Lavoro", "c:"},
        {"D:\\Foto", "\\\\server\\share\\", "D:\\Foto", "d:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percorso);
        FakeFileSystem fs;
        fs.addFolder("C:\\Lavoro");
        fs.addFolder("D:\\Foto");
        ASSERT_TRUE(fs.setCurrentDirectory(c.start));
        std::string percorso = c.percorso;
        TTavGDirForm form(nullptr, "Rossi", percorso, fs);
        EXPECT_EQ(form.DirectoryListBox1->directory(), c.directory);
        EXPECT_EQ(labelText(form.Label1), c.directory);
        EXPECT_EQ(form.DriveComboBox1->currentText().toStdString(), c.drive);
        EXPECT_EQ(form.DriveComboBox1->count(), 2);
    }
}

TEST(TTavGDirFormDrives, ChoosingADriveMovesTheTreeAndTheLabel) {
    FakeFileSystem fs;
    fs.addFolder("C:\\Lavoro");
    fs.addFolder("D:\\Foto");
    ASSERT_TRUE(fs.setCurrentDirectory("C:\\Lavoro"));
    std::string percorso = "C:\\Lavoro\\";
    TTavGDirForm form(nullptr, "Rossi", percorso, fs);
    form.DriveComboBox1->setCurrentIndex(1);
    EXPECT_EQ(form.DirectoryListBox1->directory(), "D:\\");
    EXPECT_EQ(labelText(form.Label1), "D:\\");
    form.DirectoryListBox1->openItem(1);
    EXPECT_EQ(labelText(form.Label1), "D:\\Foto");
    form.OKBtnClick();
    EXPECT_EQ(percorso, "D:\\Foto\\");
}

} // namespace
