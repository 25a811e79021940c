#include "WorkspaceFixture.h"

#include "dialogs/TTavGDirForm.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <unistd.h>

using namespace tess::test;

namespace {

// The folder commands move the process's current directory: each test puts it back.
class WorkspaceFolders : public WorkspaceTest {
protected:
    WorkspaceFolders() : m_saved(std::filesystem::current_path()) {
        std::filesystem::current_path(dir.host());
    }
    ~WorkspaceFolders() override { std::filesystem::current_path(m_saved); }

    // A driver step for the directory dialog: checks its title, then acts on it.
    static ModalDriver::Step onDialog(const char* title, std::function<void(TTavGDirForm*)> act) {
        return [title, act](QWidget* modal) {
            auto* dialog = qobject_cast<TTavGDirForm*>(modal);
            if (!dialog) {
                ADD_FAILURE() << "not the directory dialog";
                modal->close();
                return;
            }
            EXPECT_EQ(dialog->windowTitle(), QString::fromLatin1(title));
            act(dialog);
        };
    }

private:
    std::filesystem::path m_saved;
};

} // namespace

TEST_F(WorkspaceFolders, OkPutsTheChosenFolderWithASeparatorAndReloadsItsList) {
    dir.mkdir("altra/sotto");
    dir.write("altra/sotto/x.jpg");
    writeSettings();
    auto form = openWorkspace();
    setText(*form, "EditPercorsoRidotte", dir.win("altra"));
    ModalDriver driver;
    driver.then(onDialog("Selezione directory foto Ridotte", [](TTavGDirForm* d) {
        DirectoryListBox* tree = d->DirectoryListBox1;
        for (int row = tree->levelCount(); row < tree->count(); ++row)
            if (tree->itemPath(row).ends_with("sotto"))
                tree->openItem(row);
        d->OKBtn->click();
    }));
    control<QPushButton>(*form, "ButtonCartellaRidotte")->click();
    EXPECT_TRUE(driver.problems().isEmpty());
    EXPECT_EQ(control<QLineEdit>(*form, "EditPercorsoRidotte")->text().toStdString(),
              dir.win("altra\\sotto") + "\\");
    EXPECT_EQ(names(form->TabFotoRidotte), (std::vector<std::string>{"x.jpg"}));

    // The settings file stays where the program started, though the dialog moved the current
    // directory.
    form->close();
    EXPECT_FALSE(dir.exists("altra/sotto/Tessaluma.ini"));
    EXPECT_NE(
        dir.read("Tessaluma.ini").find("PercorsoFotoRidotte=" + dir.win("altra\\sotto") + "\\"),
        std::string::npos);
}

TEST_F(WorkspaceFolders, CancelChangesNothing) {
    dir.write("originali/a.jpg");
    writeSettings(false);
    auto form = openWorkspace();
    form->DBGrid1DblClick();
    ModalDriver driver;
    driver.then(onDialog("Selezione directory foto Originali",
                         [](TTavGDirForm* d) { d->CancelBtn->click(); }));
    form->ButtonCartellaOriginaliClick();
    EXPECT_TRUE(driver.problems().isEmpty());
    EXPECT_EQ(control<QLineEdit>(*form, "EditPercorsoOrigine")->text().toStdString(), originals);
    EXPECT_EQ(form->TabFotoOriginali.row(0).selezionato, 1);
}

TEST_F(WorkspaceFolders, EmptyBoxStartsAtWindowsAndTheCloseBoxKeepsThatPath) {
    writeSettings();
    auto form = openWorkspace();
    setText(*form, "EditpercorsoThumbs", "");
    std::string opened;
    ModalDriver driver;
    driver.then(onDialog("Selezione directory foto Thumbs", [&](TTavGDirForm* d) {
        opened = d->DirectoryListBox1->directory();
        d->close(); // the title-bar close leaves Esito "ok" and the path untouched
    }));
    form->ButtonCartellaThumbsClick();
    EXPECT_TRUE(driver.problems().isEmpty());
#ifdef _WIN32
    // The folder is there on Windows (in whatever letter case the disk has it).
    EXPECT_EQ(QString::fromStdString(opened).compare(QStringLiteral("C:\\windows"),
                                                     Qt::CaseInsensitive),
              0)
        << opened;
#else
    // No C:\windows here: the dialog opened at the current directory instead.
    EXPECT_EQ(opened, dir.win());
#endif
    EXPECT_EQ(control<QLineEdit>(*form, "EditpercorsoThumbs")->text(),
              QStringLiteral("c:\\windows"));
}

TEST_F(WorkspaceFolders, NamesThatAreNotUtf8AreChosenPreviewedAndRenamedByTheirBytes) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names are UTF-16: each one has a UTF-8 form";
#endif
    // A folder and a photo copied from an old Windows disk: their names are Windows-1252.
    dir.mkdir("Mare \xE8 sole");
    photo("Mare \xE8 sole/Foto \xE8.jpg", 8, 8);
    writeSettings(true);
    auto form = openWorkspace();
    setText(*form, "EditPercorsoOrigine", dir.win());
    ModalDriver driver;
    driver.then(onDialog("Selezione directory foto Originali", [](TTavGDirForm* d) {
        DirectoryListBox* tree = d->DirectoryListBox1;
        for (int row = tree->levelCount(); row < tree->count(); ++row)
            if (tree->item(row)->text() == QString::fromUtf8("Mare è sole"))
                tree->openItem(row);
        EXPECT_TRUE(d->Label1->text().endsWith(QString::fromUtf8("\\Mare è sole")));
        d->OKBtn->click();
    }));
    form->ButtonCartellaOriginaliClick();
    EXPECT_EQ(control<QLineEdit>(*form, "EditPercorsoOrigine")->text().toStdString(),
              dir.win("Mare è sole") + "\\");
    EXPECT_EQ(names(form->TabFotoOriginali), std::vector<std::string>{"Foto \xE8.jpg"});
    EXPECT_EQ(control<QTableView>(*form, "DBGrid1")->model()->index(0, 0).data().toString(),
              QString::fromUtf8("Foto è.jpg"));
    waitForPreviews(*form);
    EXPECT_TRUE(control<QLabel>(*form, "Image1")->isVisibleTo(form.get()));

    // The name is offered by its reading; the part left as it was keeps its byte.
    driver.then([](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        EXPECT_EQ(edit->text(), QString::fromUtf8("Foto è"));
        edit->end(false);
        QTest::keyClicks(edit, QStringLiteral(" 2"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    trigger(*form, "RinominaFotoCorrente1");
    EXPECT_TRUE(driver.problems().isEmpty()) << driver.problems().join('\n').toStdString();
    EXPECT_EQ(dir.names("Mare \xE8 sole"), std::vector<std::string>{"Foto \xE8 2.jpg"});
}
