#include "WorkspaceFixture.h"
#include "TextInk.h"

#include <QAbstractButton>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QTableView>
#include <QTest>

#include <filesystem>

using namespace tess::test;

namespace {

class WorkspaceWindow : public WorkspaceTest {};

struct Placed {
    const char* name;
    int left, top, width, height;
    const char* caption; // nullptr: no caption to check
};

} // namespace

TEST_F(WorkspaceWindow, ControlsStandWhereTheLayoutPutsThem) {
    writeSettings();
    auto form = openWorkspace();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Ridimensionamento Foto - Ditta: Tessaluma"));
    const Placed controls[] = {
        {"ButtonCartellaOriginali", 4, 5, 261, 17, "Cartella Foto &Origine"},
        {"ButtonCartellaRidotte", 265, 5, 261, 17, "Cartella Foto &Ridotte"},
        {"ButtonCartellaThumbs", 526, 5, 261, 17, "Cartella Foto &Thumbs"},
        {"EditPercorsoOrigine", 4, 22, 260, 21, nullptr},
        {"EditPercorsoRidotte", 264, 22, 261, 21, nullptr},
        {"EditpercorsoThumbs", 525, 22, 261, 21, nullptr},
        {"CheckBox1", 4, 46, 189, 17, "&Disabilita Anteprima Foto Origine"},
        {"Label7", 6, 64, 234, 26,
         "Nota: tutte le operazioni svolte sulle foto ridotte vengono effettuante anche sulle foto "
         "thumbs"},
        {"ButtonRefreshOriginali", 243, 73, 21, 21, ""},
        {"SpeedButton4", 265, 55, 234, 17, "Parametri Foto Ridotte"},
        {"ButtonLRidotte", 265, 75, 23, 17, "L"},
        {"EditLRidotte", 289, 73, 54, 21, nullptr},
        {"ButtonARidotte", 344, 75, 23, 17, "A"},
        {"EditARidotte", 368, 73, 54, 21, nullptr},
        {"ButtonCRidotte", 423, 75, 23, 17, "C"},
        {"EditCRidotte", 447, 73, 53, 21, nullptr},
        {"ButtonRefreshRidotte", 502, 73, 21, 21, ""},
        {"SpeedButton7", 527, 55, 157, 17, "Parametri Foto Thumbs"},
        {"ButtonLThumbs", 527, 75, 23, 17, "L"},
        {"EditLThumbs", 551, 73, 54, 21, nullptr},
        {"ButtonAThumbs", 606, 75, 23, 17, "A"},
        {"EditAThumbs", 630, 73, 54, 21, nullptr},
        {"ButtonCThumbs", 685, 75, 23, 17, "C"},
        {"EditCThumbs", 709, 73, 52, 21, nullptr},
        {"ButtonRefreshThumbs", 763, 73, 21, 21, ""},
        {"DBGrid1", 4, 96, 260, 236, nullptr},
        {"DBGrid2", 264, 96, 260, 236, nullptr},
        {"DBGrid3", 525, 96, 260, 236, nullptr},
        {"ProgressBar1", 4, 337, 781, 10, nullptr},
        {"Label3", 73, 433, 0, 13, "Anteprima non disponibile"},
        {"Label4", 337, 433, 0, 13, "Anteprima non disponibile"},
        {"Label5", 601, 433, 0, 13, "Anteprima non disponibile"},
        {"SpeedButton5", 4, 533, 781, 19, "Ch&iudi"},
    };
    for (const Placed& p : controls) {
        QWidget* w = control(*form, p.name);
        ASSERT_NE(w, nullptr) << p.name;
        if (qobject_cast<QLabel*>(w) && !p.width) // a label that sizes itself to its text
            EXPECT_EQ(w->pos(), QPoint(p.left, p.top)) << p.name;
        else
            EXPECT_EQ(w->geometry(), QRect(p.left, p.top, p.width, p.height)) << p.name;

        if (!p.caption)
            continue;
        QString caption;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            caption = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            caption = l->text();
        EXPECT_EQ(caption, QString::fromUtf8(p.caption)) << p.name;
        // The caption fits its control (a check box also shows its box, about 20 px).
        QString plain = caption;
        plain.remove(QLatin1Char('&'));
        const int room = w->width() - (qobject_cast<QCheckBox*>(w) ? 20 : 0);
        if (!(qobject_cast<QLabel*>(w) && qobject_cast<QLabel*>(w)->wordWrap()) &&
            !tess::test::textDrawnUnlikeAnyDesktop()) {
            EXPECT_LE(w->fontMetrics().horizontalAdvance(plain), room) << p.name;
        }
    }
    for (const char* image : {"Image1", "Image2", "Image3"})
        EXPECT_EQ(control(*form, image)->pos().y(), 354) << image;
    EXPECT_EQ(control(*form, "ButtonLThumbs")->toolTip(), QStringLiteral("Larghezza"));
    EXPECT_EQ(control(*form, "ButtonARidotte")->toolTip(), QStringLiteral("Altezza"));
    EXPECT_EQ(control(*form, "ButtonCThumbs")->toolTip(), QStringLiteral("Compressione"));
    EXPECT_TRUE(control(*form, "SpeedButton4")->toolTip().isEmpty());
    EXPECT_EQ(control<QProgressBar>(*form, "ProgressBar1")->maximum(), 100);
    EXPECT_EQ(control(*form, "Label7")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

TEST_F(WorkspaceWindow, OpensCentredOnTheScreen) {
    writeSettings();
    QWidget owner;
    owner.setGeometry(0, 0, 100, 100);
    TRidFotoForm form(&owner, holder, fs);
    form.show();
    const QPoint screenCentre = form.screen()->availableGeometry().center();
    EXPECT_LE((form.frameGeometry().center() - screenCentre).manhattanLength(), 2);
    EXPECT_EQ(form.size(), QSize(792, 553)); // 800 x 580 with the frame
    form.close();
}

TEST_F(WorkspaceWindow, MenusHoldTheirItemsInOrder) {
    writeSettings();
    auto form = openWorkspace();
    auto captions = [&](const char* menu) {
        QStringList result;
        for (QAction* a : control<QMenu>(*form, menu)->actions())
            result << a->objectName() + QLatin1Char('=') + a->text();
        return result;
    };
    EXPECT_EQ(captions("PopupMenu1"),
              (QStringList{"SelezionaTutto1=Seleziona Tutto", "DeselezionaTutto1=Deseleziona Tutto",
                           "Cancella1=Cancella (Foto Corrente)", "Converti1=Converti",
                           "RinominaFotoCorrente1=Rinomina (Foto Corrente)"}));
    EXPECT_EQ(
        captions("PopupMenu2"),
        (QStringList{"MenuItem1=Seleziona Tutto", "MenuItem2=Deseleziona Tutto",
                     "MenuItem3=Cancella (Foto Corrente)", "MenuItem5=Rinomina (Foto Corrente)"}));
}

TEST_F(WorkspaceWindow, TabWalksTheBoxesInTheirOrderAndSkipsGridsAndFlatButtons) {
    writeSettings();
    auto form = openWorkspace();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    control(*form, "EditPercorsoOrigine")->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 13; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(
        visited,
        (QStringList{"EditPercorsoOrigine", "EditPercorsoRidotte", "EditpercorsoThumbs",
                     "EditLRidotte", "EditARidotte", "EditLThumbs", "EditAThumbs", "CheckBox1",
                     "ButtonRefreshOriginali", "ButtonRefreshRidotte", "ButtonRefreshThumbs",
                     "EditCRidotte", "EditCThumbs", "EditPercorsoOrigine"}));
    form->close();
}

TEST_F(WorkspaceWindow, OpensOnTheSettingsFoldersWithTheirFiles) {
    dir.write("originali/b.jpg");
    dir.write("originali/a.txt");
    dir.write("thumbs/t.jpg");
    dir.mkdir("originali/sotto");
    writeSettings(false, "LFotoRidotte=1024\r\nCFotoThumbs=\r\n");
    auto form = openWorkspace();
    EXPECT_EQ(names(form->TabFotoOriginali), (std::vector<std::string>{"a.txt", "b.jpg"}));
    EXPECT_TRUE(form->TabFotoRidotte.isEmpty());
    EXPECT_EQ(names(form->TabFotoThumbs), (std::vector<std::string>{"t.jpg"}));
    EXPECT_EQ(form->TabFotoOriginali.recNo(), 1);
    EXPECT_EQ(control<QLineEdit>(*form, "EditLRidotte")->text(), QStringLiteral("1024"));
    EXPECT_EQ(control<QLineEdit>(*form, "EditARidotte")->text(), QStringLiteral("600"));
    EXPECT_EQ(control<QLineEdit>(*form, "EditCThumbs")->text(), QString()); // empty, not default
    EXPECT_TRUE(control<QCheckBox>(*form, "CheckBox1")->isChecked());
    EXPECT_EQ(qobject_cast<QTableView*>(control(*form, "DBGrid1"))->model()->rowCount(), 2);
}

TEST_F(WorkspaceWindow, RefreshListsATypedFolderAndLeavesTheSettingsFileAlone) {
    writeSettings();
    auto form = openWorkspace();
    dir.mkdir("altra");
    dir.write("altra/x.jpg");
    const std::string before = dir.read("Tessaluma.ini");
    setText(*form, "EditPercorsoRidotte", dir.win("altra")); // no final "\"
    form->TabFotoRidotte.setCurrentMark(1);
    control<QAbstractButton>(*form, "ButtonRefreshRidotte")->click();
    EXPECT_EQ(names(form->TabFotoRidotte), (std::vector<std::string>{"x.jpg"}));
    EXPECT_EQ(form->TabFotoRidotte.row(0).selezionato, 0);
    EXPECT_EQ(dir.read("Tessaluma.ini"), before);
}

TEST_F(WorkspaceWindow, ClosingEitherWayWritesTheSettings) {
    for (const bool byButton : {true, false}) {
        std::filesystem::remove(dir.host("Tessaluma.ini"));
        dir.write("Immagini/IMG_0001.JPG");
        {
            auto form = openWorkspace(); // no settings file: the defaults
            EXPECT_TRUE(control<QCheckBox>(*form, "CheckBox1")->isChecked());
            for (const char* box :
                 {"EditPercorsoOrigine", "EditPercorsoRidotte", "EditpercorsoThumbs"})
                EXPECT_EQ(control<QLineEdit>(*form, box)->text().toStdString(), pictures) << box;
            EXPECT_EQ(names(form->TabFotoThumbs), std::vector<std::string>{"IMG_0001.JPG"});
            setText(*form, "EditPercorsoOrigine", originals);
            setText(*form, "EditCRidotte", "abc");
            form->show();
            if (byButton)
                control<QAbstractButton>(*form, "SpeedButton5")->click();
            else
                form->close();
            EXPECT_FALSE(form->isVisible());
        }
        const std::string ini = dir.read("Tessaluma.ini");
        EXPECT_NE(ini.find("PercorsoFotoOriginali=" + originals + "\r\n"), std::string::npos)
            << ini;
        EXPECT_NE(ini.find("PercorsoFotoRidotte=" + pictures + "\r\n"), std::string::npos) << ini;
        EXPECT_NE(ini.find("CFotoRidotte=abc\r\n"), std::string::npos) << ini;
        EXPECT_NE(ini.find("AnteprimaOriginali=NO\r\n"), std::string::npos) << ini;
    }
}

TEST_F(WorkspaceWindow, OpeningAndClosingTwiceKeepsTheValues) {
    writeSettings(true);
    const std::string first = dir.read("Tessaluma.ini");
    openWorkspace()->close();
    const std::string once = dir.read("Tessaluma.ini");
    openWorkspace()->close();
    EXPECT_EQ(dir.read("Tessaluma.ini"), once);
    EXPECT_NE(once.find("AnteprimaOriginali=SI"), std::string::npos);
    EXPECT_NE(once.find("PercorsoFotoOriginali=" + originals), std::string::npos);
    EXPECT_EQ(once.rfind(first.substr(0, 12), 0), 0u);
}

TEST_F(WorkspaceWindow, ReadOnlySettingsFileIsReportedAndTheWindowStillCloses) {
    writeSettings();
    std::filesystem::permissions(dir.host("Tessaluma.ini"), std::filesystem::perms::owner_read);
    ModalDriver driver;
    driver.accept();
    openWorkspace()->close();
    expectBoxes(driver, {QString::fromStdString("Unable to write to " + holder.FileIni + ".")});
    ASSERT_EQ(driver.seen().size(), 1u);
    EXPECT_EQ(driver.seen()[0].title, QStringLiteral("TESSALUMA"));
    EXPECT_EQ(driver.seen()[0].icon, QMessageBox::Critical);
}

TEST_F(WorkspaceWindow, GridsCannotEditNamesOrRowsAndEscDoesNotClose) {
    dir.write("originali/a.jpg");
    writeSettings(false);
    auto form = openWorkspace();
    form->show();
    auto* grid = control<QTableView>(*form, "DBGrid1");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClicks(grid, "zzz");
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_EQ(names(form->TabFotoOriginali), (std::vector<std::string>{"a.jpg"}));
    EXPECT_TRUE(form->isVisible());
    form->close();
}
