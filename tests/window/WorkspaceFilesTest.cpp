#include "WorkspaceFixture.h"

#include "dialogs/TTavIn1Form.h"

#include <QPushButton>

#include <filesystem>

using namespace tess::test;

namespace {

const QString kDeleteOriginal = QString::fromUtf8(
    "Confermare eliminazione foto?\nLa foto verrà cancellata permanentemente dal disco rigido");
const QString kDeleteReduced =
    QString::fromUtf8("Confermare eliminazione foto?\nLa foto verrà cancellata permanentemente dal "
                      "disco rigido assieme alla relativa foto thumb");
const QString kNoThumbnail = QString::fromUtf8("Attenzione: non è stata trovata la foto thumb "
                                               "relativa alla foto ridotta che si sta rinominando");

class WorkspaceFiles : public WorkspaceTest {
protected:
    // A step for the value-input dialog: checks the prompt and the offered base name, then
    // types `typed` and presses OK (or, with nullptr, presses Cancel).
    static ModalDriver::Step rename(const std::string& offered, const char* typed) {
        return [offered, typed](QWidget* modal) {
            auto* dialog = qobject_cast<TTavIn1Form*>(modal);
            if (!dialog) {
                ADD_FAILURE() << "not the value-input dialog";
                modal->close();
                return;
            }
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Dialog"));
            EXPECT_EQ(dialog->Label1->text(),
                      QStringLiteral("Nuovo nome foto (senza estensione):"));
            EXPECT_EQ(dialog->Edit1->text().toStdString(), offered);
            if (!typed) {
                dialog->CancelBtn->click();
                return;
            }
            dialog->Edit1->setText(QString::fromUtf8(typed));
            dialog->OKBtn->click();
        };
    }

    std::unique_ptr<TRidFotoForm> open(std::initializer_list<const char*> files) {
        for (const char* f : files)
            photo(f, 8, 8); // real photos: the lists' previews decode them
        writeSettings(false);
        return openWorkspace();
    }
};

} // namespace

TEST_F(WorkspaceFiles, RenamingAnOriginalKeepsItsExtension) {
    struct Case {
        const char* name;
        const char* offered;
        const char* typed;
        const char* result;
    } cases[] = {
        {"IMG_0001.JPG", "IMG_0001", "Mare", "Mare.JPG"},
        {"foto.2004.jpg", "foto.2004", "x", "x.jpg"},
        {"senzapunto", "senzapunto", "y", "y"},
        {"IMG_0002.JPG", "IMG_0002", "", ".JPG"},
        // Trailing dots and blanks go, as Win32 drops them.
        {"senzaestensione", "senzaestensione", "x. ", "x"},
    };
    for (const Case& c : cases) {
        auto form = open({});
        photo(std::string("originali/") + c.name, 8, 8);
        form->ButtonRefreshOriginaliClick();
        form->TabFotoOriginali.locate(c.name);
        ModalDriver driver;
        driver.then(rename(c.offered, c.typed));
        trigger(*form, "RinominaFotoCorrente1");
        expectBoxes(driver, {});
        EXPECT_TRUE(dir.exists(std::string("originali/") + c.result)) << c.name;
        EXPECT_FALSE(dir.exists(std::string("originali/") + c.name)) << c.name;
        EXPECT_EQ(form->TabFotoOriginali.recNo(), 1); // rebuilt
        std::filesystem::remove(dir.host(std::string("originali/") + c.result));
    }
}

TEST_F(WorkspaceFiles, RenamingOntoATakenNameOrCancellingChangesNothing) {
    auto form = open({"originali/a.jpg", "originali/b.jpg"});
    ModalDriver driver;
    driver.then(rename("a", "b")).then(rename("a", nullptr)).then([](QWidget* modal) {
        modal->close(); // the title-bar close
    });
    for (int i = 0; i < 3; ++i)
        trigger(*form, "RinominaFotoCorrente1");
    expectBoxes(driver, {});
    EXPECT_EQ(names(form->TabFotoOriginali), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

TEST_F(WorkspaceFiles, NamesThatLeaveTheFolderAreRefused) {
    auto form = open({"ridotte/a.jpg", "thumbs/a.jpg"});
    for (const char* bad : {"..\\fuori", "sotto/x", "c:x", "a|b"}) {
        ModalDriver driver;
        driver.then(rename("a", bad)).accept();
        trigger(*form, "MenuItem5");
        expectBoxes(driver, {"Attenzione: nome foto non valido."});
        EXPECT_EQ(names(form->TabFotoRidotte), (std::vector<std::string>{"a.jpg"})) << bad;
        EXPECT_EQ(names(form->TabFotoThumbs), (std::vector<std::string>{"a.jpg"})) << bad;
        EXPECT_TRUE(dir.exists("thumbs/a.jpg"));
    }
}

TEST_F(WorkspaceFiles, AReducedPhotosThumbnailFollowsItsRename) {
    auto form = open({"ridotte/a.JPG", "ridotte/b.JPG", "thumbs/a.JPG", "thumbs/b.JPG"});
    form->TabFotoRidotte.moveTo(1);
    ModalDriver driver;
    driver.then(rename("b", "Mare"));
    trigger(*form, "MenuItem5");
    expectBoxes(driver, {}); // no second question for the thumbnail
    EXPECT_EQ(names(form->TabFotoRidotte), (std::vector<std::string>{"a.JPG", "Mare.JPG"}));
    EXPECT_EQ(names(form->TabFotoThumbs), (std::vector<std::string>{"a.JPG", "Mare.JPG"}));
    EXPECT_EQ(form->TabFotoRidotte.currentName(), "Mare.JPG");
    EXPECT_EQ(form->TabFotoThumbs.currentName(), "Mare.JPG");

    // An empty name leaves the extension alone, for both.
    ModalDriver empty;
    empty.then(rename("Mare", ""));
    trigger(*form, "MenuItem5");
    expectBoxes(empty, {});
    EXPECT_TRUE(dir.exists("ridotte/.JPG"));
    EXPECT_TRUE(dir.exists("thumbs/.JPG"));
    EXPECT_EQ(form->TabFotoRidotte.currentName(), ".JPG");
}

TEST_F(WorkspaceFiles, AFailedOrCancelledReducedRenameLeavesTheThumbnailAlone) {
    auto form = open({"ridotte/a.jpg", "ridotte/b.jpg", "thumbs/a.jpg"});
    ModalDriver driver;
    driver.then(rename("a", "b")).then(rename("a", nullptr));
    trigger(*form, "MenuItem5"); // b.jpg is taken among the reduced photos
    EXPECT_EQ(form->TabFotoRidotte.currentName(), "a.jpg");
    trigger(*form, "MenuItem5");
    expectBoxes(driver, {});
    EXPECT_TRUE(dir.exists("ridotte/a.jpg"));
    EXPECT_TRUE(dir.exists("thumbs/a.jpg"));
    EXPECT_FALSE(dir.exists("thumbs/b.jpg"));
}

TEST_F(WorkspaceFiles, RenamingAReducedPhotoWithoutThumbnailSaysSo) {
    auto form = open({"ridotte/a.jpg", "ridotte/z.jpg", "thumbs/altra.jpg"});
    form->TabFotoThumbs.moveTo(0);
    ModalDriver driver;
    driver.then(rename("a", "zz")).accept();
    trigger(*form, "MenuItem5");
    expectBoxes(driver, {kNoThumbnail});
    EXPECT_EQ(driver.seen()[1].title, QStringLiteral("TESSALUMA"));
    EXPECT_EQ(names(form->TabFotoRidotte), (std::vector<std::string>{"z.jpg", "zz.jpg"}));
    EXPECT_EQ(form->TabFotoRidotte.currentName(), "zz.jpg");
    EXPECT_EQ(names(form->TabFotoThumbs), (std::vector<std::string>{"altra.jpg"}));
}

TEST_F(WorkspaceFiles, DeletingAnOriginalLeavesItsCopiesAndCancelKeepsTheMarks) {
    auto form = open({"originali/a.jpg", "originali/b.jpg", "ridotte/a.jpg", "thumbs/a.jpg"});
    form->TabFotoOriginali.moveTo(0);
    form->DBGrid1DblClick();
    ModalDriver cancel;
    cancel.answer(QMessageBox::Cancel);
    trigger(*form, "Cancella1");
    expectBoxes(cancel, {kDeleteOriginal});
    EXPECT_EQ(cancel.seen()[0].title, QStringLiteral("Confirm"));
    EXPECT_EQ(form->TabFotoOriginali.row(0).selezionato, 1);

    ModalDriver ok;
    ok.answer(QMessageBox::Ok);
    trigger(*form, "Cancella1");
    expectBoxes(ok, {kDeleteOriginal});
    EXPECT_EQ(names(form->TabFotoOriginali), (std::vector<std::string>{"b.jpg"}));
    EXPECT_EQ(form->TabFotoOriginali.row(0).selezionato, 0);
    EXPECT_TRUE(dir.exists("ridotte/a.jpg"));
    EXPECT_TRUE(dir.exists("thumbs/a.jpg"));
}

TEST_F(WorkspaceFiles, DeletingAReducedPhotoTakesItsThumbnailOrSaysItIsMissing) {
    auto form = open({"ridotte/a.jpg", "ridotte/b.jpg", "thumbs/a.jpg", "thumbs/c.jpg"});
    ModalDriver withThumb;
    withThumb.answer(QMessageBox::Ok);
    trigger(*form, "MenuItem3");
    expectBoxes(withThumb, {kDeleteReduced});
    EXPECT_EQ(names(form->TabFotoRidotte), (std::vector<std::string>{"b.jpg"}));
    EXPECT_EQ(names(form->TabFotoThumbs), (std::vector<std::string>{"c.jpg"}));

    ModalDriver withoutThumb;
    withoutThumb.answer(QMessageBox::Ok).accept();
    trigger(*form, "MenuItem3");
    expectBoxes(withoutThumb, {kDeleteReduced, "Foto Thumb da cancellare non trovata"});
    EXPECT_TRUE(form->TabFotoRidotte.isEmpty());
    EXPECT_TRUE(dir.exists("thumbs/c.jpg"));

    // An empty list: the question is still asked, then nothing happens.
    ModalDriver empty;
    empty.answer(QMessageBox::Ok);
    trigger(*form, "MenuItem3");
    expectBoxes(empty, {kDeleteReduced});
    ModalDriver none; // the rename commands do nothing at all
    trigger(*form, "MenuItem5");
    expectBoxes(none, {});
}

TEST_F(WorkspaceFiles, ReadOnlyPhotosStay) {
    auto form = open({"ridotte/a.jpg", "thumbs/a.jpg"});
    for (const char* f : {"ridotte/a.jpg", "thumbs/a.jpg"})
        std::filesystem::permissions(dir.host(f), std::filesystem::perms::owner_read);
    ModalDriver driver;
    driver.answer(QMessageBox::Ok).accept();
    trigger(*form, "MenuItem3");
    expectBoxes(driver, {kDeleteReduced, "Foto Thumb da cancellare non trovata"});
    EXPECT_TRUE(dir.exists("ridotte/a.jpg"));
    EXPECT_EQ(names(form->TabFotoRidotte), (std::vector<std::string>{"a.jpg"}));
}

TEST_F(WorkspaceFiles, AFolderTextWithoutSeparatorStillNamesTheListedPhoto) {
    auto form = open({"originali/a.jpg", "originali/c.jpg", "originalia.jpg", "originalic.jpg"});
    setText(*form, "EditPercorsoOrigine", dir.win("originali")); // no final "\"
    form->ButtonRefreshOriginaliClick();
    ModalDriver driver;
    driver.answer(QMessageBox::Ok).then(rename("c", "b"));
    trigger(*form, "Cancella1");             // a.jpg
    trigger(*form, "RinominaFotoCorrente1"); // c.jpg, now the first row
    expectBoxes(driver, {kDeleteOriginal});
    EXPECT_EQ(names(form->TabFotoOriginali), (std::vector<std::string>{"b.jpg"}));
    // The files beside the folder whose names the bare joins would give are untouched.
    EXPECT_TRUE(dir.exists("originalia.jpg"));
    EXPECT_TRUE(dir.exists("originalic.jpg"));
}
