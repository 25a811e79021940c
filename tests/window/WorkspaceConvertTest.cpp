#include "Gate.h"
#include "WorkspaceFixture.h"

#include "imaging/Jpeg.h"
#include "platform/Error.h"
#include "window/Preview.h"
#include "workspace/ConversionPass.h"

#include <QMenu>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <utility>

#include <algorithm>

using namespace tess::test;

namespace {

class WorkspaceConvert : public WorkspaceTest {
protected:
    tess::imaging::JpegInfo header(const std::string& relative) {
        const std::string data = dir.read(relative);
        return tess::imaging::readJpegHeader(tess::imaging::Bytes(data.begin(), data.end()));
    }
    int progress(TRidFotoForm& form) {
        return control<QProgressBar>(form, "ProgressBar1")->value();
    }
};

} // namespace

TEST_F(WorkspaceConvert, ConvertsTheMarkedOriginalsAndRebuildsTheOutputLists) {
    photo("originali/A.JPG", 400, 300);
    photo("originali/B.JPG", 300, 400, true);
    photo("originali/C.JPG", 200, 100);
    dir.write("ridotte/vecchia.txt");
    writeSettings(false, "LFotoThumbs=160\r\nAFotoThumbs=120\r\n");
    auto form = openWorkspace();
    form->TabFotoOriginali.moveTo(0);
    form->DBGrid1DblClick();
    form->TabFotoOriginali.moveTo(1);
    form->DBGrid1DblClick();
    form->TabFotoRidotte.setCurrentMark(1);

    ModalDriver driver;
    driver.answer(QMessageBox::Ok).accept();
    trigger(*form, "Converti1");
    expectBoxes(driver,
                {"Procedo al ridimensionamento delle foto selezionate?", "Operazione completata"});
    EXPECT_EQ(driver.seen()[0].title, QStringLiteral("Confirm"));
    EXPECT_EQ(driver.seen()[0].icon, QMessageBox::Question);
    EXPECT_EQ(driver.seen()[0].buttons, (QStringList{"OK", "Cancel"}));
    EXPECT_EQ(driver.seen()[1].title, QStringLiteral("TESSALUMA"));
    EXPECT_EQ(driver.seen()[1].icon, QMessageBox::NoIcon);

    const tess::imaging::JpegInfo a = header("ridotte/A.JPG");
    EXPECT_EQ(std::pair(a.width, a.height), std::pair(800, 600)); // enlarged to fit
    EXPECT_FALSE(a.progressive);
    const tess::imaging::JpegInfo b = header("thumbs/B.JPG");
    EXPECT_EQ(std::pair(b.width, b.height), std::pair(120, 160)); // the box turned
    EXPECT_TRUE(b.progressive);
    EXPECT_FALSE(dir.exists("ridotte/C.JPG"));
    EXPECT_EQ(names(form->TabFotoRidotte),
              (std::vector<std::string>{"A.JPG", "B.JPG", "vecchia.txt"}));
    EXPECT_EQ(form->TabFotoRidotte.row(2).selezionato, 0); // rebuilt
    EXPECT_EQ(names(form->TabFotoThumbs), (std::vector<std::string>{"A.JPG", "B.JPG"}));
    EXPECT_EQ(form->TabFotoOriginali.row(0).selezionato, 1); // originals keep their marks
    EXPECT_EQ(form->TabFotoOriginali.recNo(), 3);
    EXPECT_EQ(progress(*form), 100);
}

TEST_F(WorkspaceConvert, EarlyExitsAskAndWriteNothing) {
    photo("originali/A.JPG", 40, 30);
    writeSettings(false);
    auto form = openWorkspace();
    form->DBGrid1DblClick();
    struct Case {
        const char* box;
        const char* value;
        std::vector<QMessageBox::StandardButton> answers;
        QStringList texts;
    } cases[] = {
        {"EditCThumbs", "50 ", {QMessageBox::Ok}, {"'50 ' is not a valid integer value."}},
        {"EditARidotte", "", {QMessageBox::Ok}, {"'' is not a valid integer value."}},
        {"EditLThumbs",
         "0",
         {QMessageBox::Ok},
         {"Attenzione: errore nei parametri foto. Verificare."}},
        {"EditARidotte",
         "-600",
         {QMessageBox::Ok},
         {"Attenzione: errore nei parametri foto. Verificare."}},
        {"EditPercorsoRidotte",
         "",
         {QMessageBox::Ok, QMessageBox::Ok},
         {"Procedo al ridimensionamento delle foto selezionate?",
          "Attenzione: errore nei percorsi foto. Verificare."}},
        {nullptr,
         nullptr,
         {QMessageBox::Cancel},
         {"Procedo al ridimensionamento delle foto selezionate?"}},
    };
    for (const Case& c : cases) {
        const QString before = c.box ? control<QLineEdit>(*form, c.box)->text() : QString();
        if (c.box)
            setText(*form, c.box, c.value);
        ModalDriver driver;
        for (QMessageBox::StandardButton answer : c.answers)
            driver.answer(answer);
        trigger(*form, "Converti1");
        expectBoxes(driver, c.texts);
        EXPECT_FALSE(dir.exists("ridotte/A.JPG")) << (c.box ? c.box : "cancel");
        if (c.box)
            control<QLineEdit>(*form, c.box)->setText(before);
    }
    EXPECT_EQ(progress(*form), 0);
}

// With the originals preview on, the failing row is previewed on the way, and fails there too:
// one failure still shows one box.
TEST_F(WorkspaceConvert, AnErrorStopsTheRunWhereItHappenedWithOneBox) {
    photo("originali/A.JPG", 40, 30);
    dir.write("originali/B.JPG", "not a photo");
    photo("originali/C.JPG", 40, 30);
    dir.write("thumbs/vecchia.txt");
    for (const bool previews : {false, true}) {
        SCOPED_TRACE(previews ? "previews on" : "previews off");
        std::filesystem::remove(dir.host("ridotte/A.JPG"));
        std::filesystem::remove(dir.host("thumbs/A.JPG"));
        writeSettings(previews);
        auto form = openWorkspace();
        trigger(*form, "SelezionaTutto1");
        ModalDriver driver;
        driver.answer(QMessageBox::Ok).accept();
        trigger(*form, "Converti1");
        ASSERT_EQ(driver.texts().size(), 2);
        EXPECT_TRUE(driver.texts()[1].startsWith(QStringLiteral("JPEG error #")));
        EXPECT_EQ(driver.seen()[1].icon, QMessageBox::Critical);
        EXPECT_TRUE(dir.exists("ridotte/A.JPG"));
        EXPECT_TRUE(dir.exists("thumbs/A.JPG"));
        EXPECT_FALSE(dir.exists("ridotte/C.JPG"));
        EXPECT_TRUE(form->TabFotoRidotte.isEmpty()); // not rebuilt
        EXPECT_EQ(names(form->TabFotoThumbs), (std::vector<std::string>{"vecchia.txt"}));
        EXPECT_EQ(form->TabFotoOriginali.currentName(), "B.JPG");
        EXPECT_EQ(progress(*form), 67);
        EXPECT_FALSE(form->isConverting());
    }
}

TEST_F(WorkspaceConvert, InputDuringARunIsRefused) {
    for (int i = 1; i <= 4; ++i)
        photo("originali/IMG_" + std::to_string(i) + ".JPG", 40, 30);
    writeSettings(false);
    auto form = openWorkspace();
    form->show();
    trigger(*form, "SelezionaTutto1");
    std::vector<int> seenRows;
    bool tried = false;
    // Between two rows the window processes its events: try everything a user could do.
    QObject::connect(
        control<QProgressBar>(*form, "ProgressBar1"), &QProgressBar::valueChanged, form.get(), [&] {
            seenRows.push_back(form->TabFotoOriginali.recNo());
            if (tried)
                return;
            tried = true;
            EXPECT_TRUE(form->isConverting());
            auto* grid = control<QTableView>(*form, "DBGrid1");
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(0, 0)).center());
            trigger(*form, "DeselezionaTutto1");
            // These three ask whether to stop; Cancel lets the run go on.
            QTest::mouseClick(control<QAbstractButton>(*form, "SpeedButton5"), Qt::LeftButton);
            form->close();
            QTest::keyClick(control<QTableView>(*form, "DBGrid1"), Qt::Key_Escape);
        });
    ModalDriver driver;
    driver.answer(QMessageBox::Ok)
        .answer(QMessageBox::Cancel)
        .answer(QMessageBox::Cancel)
        .answer(QMessageBox::Cancel)
        .accept();
    trigger(*form, "Converti1");
    const QString stop = QStringLiteral("Interrompere la conversione?");
    expectBoxes(driver, {"Procedo al ridimensionamento delle foto selezionate?", stop, stop, stop,
                         "Operazione completata"});
    EXPECT_EQ(driver.seen()[1].title, QStringLiteral("Confirm"));
    EXPECT_EQ(driver.seen()[1].buttons, (QStringList{"OK", "Cancel"}));
    // The rows reach the window coalesced, never backwards, and end on the last one.
    EXPECT_TRUE(std::is_sorted(seenRows.begin(), seenRows.end()));
    EXPECT_EQ(seenRows.back(), 4);
    // Each original read once: a click that got through would have moved the pass back.
    EXPECT_EQ(std::count_if(fs.reads.begin(), fs.reads.end(),
                            [&](const std::string& path) { return path.starts_with(originals); }),
              4);
    EXPECT_TRUE(form->isVisible());
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(dir.exists("thumbs/IMG_" + std::to_string(i) + ".JPG")) << i;
    EXPECT_EQ(form->TabFotoOriginali.row(0).selezionato, 1);
    form->close();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(WorkspaceConvert, ProgressEndsOnTheLastRowMarkedOrNot) {
    for (int i = 1; i <= 8; ++i)
        dir.write("originali/F" + std::to_string(i) + ".txt");
    writeSettings(false);
    auto form = openWorkspace();
    std::vector<int> values;
    QObject::connect(control<QProgressBar>(*form, "ProgressBar1"), &QProgressBar::valueChanged,
                     form.get(), [&](int v) { values.push_back(v); });
    ModalDriver driver;
    driver.answer(QMessageBox::Ok).accept();
    trigger(*form, "Converti1");
    expectBoxes(driver,
                {"Procedo al ridimensionamento delle foto selezionate?", "Operazione completata"});
    // Rows passed over at once reach the bar together; it never goes back and ends at 100,
    // with the list on its last row.
    ASSERT_FALSE(values.empty());
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(values.back(), 100);
    EXPECT_EQ(form->TabFotoOriginali.recNo(), 8);
}

// The rows a run passes at once reach the window together, so the preview that fails is the
// one of the row the run waits on: its file cannot be read for the preview, though it can for
// the conversion, which waits until the failure has been shown.
TEST_F(WorkspaceConvert, AFailedPreviewDuringARunIsShownAndTheRunGoesOn) {
    for (const char* name : {"A.JPG", "B.JPG", "C.JPG"})
        photo("originali/" + std::string(name), 40, 30);
    writeSettings(true); // the originals preview is on
    auto form = openWorkspace();
    trigger(*form, "SelezionaTutto1");
    waitForPreviews(*form);
    Gate failureShown;
    fs.beforeReadUpTo = [&](const std::string& path) {
        if (form->isConverting() && path.ends_with("B.JPG"))
            throw tess::Error("Cannot open file " + path);
    };
    fs.beforeRead = [&](const std::string& path) {
        if (QThread::currentThread() != qApp->thread() && path.ends_with("B.JPG"))
            failureShown.wait();
    };
    ModalDriver driver;
    driver.answer(QMessageBox::Ok)
        .then([&](QWidget* box) {
            failureShown.open();
            clickMessageBoxButton(box, QMessageBox::Ok);
        })
        .accept();
    trigger(*form, "Converti1");
    fs.beforeRead = nullptr;
    fs.beforeReadUpTo = nullptr;
    expectBoxes(driver, {"Procedo al ridimensionamento delle foto selezionate?",
                         QString::fromStdString("Cannot open file " + originals + "B.JPG."),
                         "Operazione completata"});
    EXPECT_TRUE(dir.exists("ridotte/C.JPG"));
    EXPECT_TRUE(dir.exists("thumbs/C.JPG"));
}

TEST_F(WorkspaceConvert, StopKeepsTheFinishedRowsAndTheWindowOpen) {
    const std::vector<std::string> all{"IMG_1.JPG", "IMG_2.JPG", "IMG_3.JPG", "IMG_4.JPG"};
    using Ask = std::function<void(TRidFotoForm&)>;
    const std::pair<const char*, Ask> ways[] = {
        {"close box", [](TRidFotoForm& form) { form.close(); }},
        {"Esc",
         [this](TRidFotoForm& form) {
             QTest::keyClick(control<QTableView>(form, "DBGrid1"), Qt::Key_Escape);
         }},
        {"Chiudi",
         [this](TRidFotoForm& form) {
             QTest::mouseClick(control<QAbstractButton>(form, "SpeedButton5"), Qt::LeftButton);
         }},
    };
    for (const auto& entry : ways) {
        // Named, not bound: clang 14 cannot capture a structured binding in a lambda.
        const char* const way = entry.first;
        const Ask& ask = entry.second;
        for (const char* folder : {"originali", "ridotte", "thumbs"}) {
            std::filesystem::remove_all(dir.host(folder));
            dir.mkdir(folder);
        }
        for (const std::string& name : all)
            photo("originali/" + name, 40, 30);
        writeSettings(true);
        auto form = openWorkspace();
        form->show();
        trigger(*form, "SelezionaTutto1");
        // The last photo is not read by the run before the user has chosen to stop.
        Gate stopChosen;
        fs.beforeRead = [&stopChosen](const std::string& path) {
            if (QThread::currentThread() != qApp->thread() &&
                path.find("originali") != std::string::npos &&
                path.find("IMG_4") != std::string::npos)
                stopChosen.wait();
        };
        bool asked = false;
        QObject::connect(control<QProgressBar>(*form, "ProgressBar1"), &QProgressBar::valueChanged,
                         form.get(), [&] {
                             if (std::exchange(asked, true))
                                 return;
                             ask(*form);
                             // Chosen: asking again asks nothing.
                             ask(*form);
                             stopChosen.open();
                         });
        ModalDriver driver;
        // One question at a time: asking again while it is open asks nothing. (Posted, so that
        // a second question would reach the driver.)
        driver.answer(QMessageBox::Ok).then([&](QWidget* question) {
            QTimer::singleShot(0, question, [&, question] {
                ask(*form);
                clickMessageBoxButton(question, QMessageBox::Ok);
            });
        });
        trigger(*form, "Converti1");
        fs.beforeRead = nullptr;
        expectBoxes(driver, {"Procedo al ridimensionamento delle foto selezionate?",
                             "Interrompere la conversione?"});
        // The rows before the current one are written, that one and the rest are not.
        const int current = form->TabFotoOriginali.currentIndex();
        EXPECT_GE(current, 1) << way;
        EXPECT_LE(current, 3) << way;
        const std::vector<std::string> written(all.begin(), all.begin() + current);
        EXPECT_EQ(names(form->TabFotoRidotte), written) << way; // rebuilt, no temporaries
        EXPECT_EQ(names(form->TabFotoThumbs), written) << way;
        EXPECT_EQ(progress(*form), tess::workspace::progressPosition(current + 1, 4)) << way;
        EXPECT_FALSE(form->isConverting());
        EXPECT_TRUE(form->isVisible()) << way;
        form->close();
        EXPECT_FALSE(form->isVisible()) << way;
    }
}

TEST_F(WorkspaceConvert, NoFileIsReadOnTheWindowsThreadDuringARun) {
    for (int i = 1; i <= 4; ++i)
        photo("originali/IMG_" + std::to_string(i) + ".JPG", 640, 480, i % 2 == 0);
    writeSettings(true); // the originals preview is on
    auto form = openWorkspace();
    trigger(*form, "SelezionaTutto1");
    waitForPreviews(*form);
    std::atomic<int> onWindowThread = 0;
    std::atomic<int> elsewhere = 0;
    fs.beforeRead = [&](const std::string&) {
        if (!form->isConverting())
            return;
        (QThread::currentThread() == qApp->thread() ? onWindowThread : elsewhere)++;
    };
    ModalDriver driver;
    driver.answer(QMessageBox::Ok).accept();
    trigger(*form, "Converti1");
    fs.beforeRead = nullptr;
    expectBoxes(driver,
                {"Procedo al ridimensionamento delle foto selezionate?", "Operazione completata"});
    EXPECT_EQ(onWindowThread, 0);
    EXPECT_GE(elsewhere, 5); // four photos and at least the last preview
    EXPECT_TRUE(form->preview(0).image()->isVisibleTo(form.get()));
}

TEST_F(WorkspaceConvert, NamesHoldingSeparatorsAreNeitherListedNorTouched) {
    // On Windows "\\" cannot be part of a name; joined to the folder these would name
    // originali\IMG1.JPG itself and a file above all three folders.
    photo("originali/IMG1.JPG", 400, 300);
    photo("originali/..\\originali\\IMG1.JPG", 64, 48);
    photo("originali/..\\..\\x.JPG", 64, 48);
    const std::string original = dir.read("originali/IMG1.JPG");
    writeSettings(false);
    auto form = openWorkspace();
    EXPECT_EQ(names(form->TabFotoOriginali), (std::vector<std::string>{"IMG1.JPG"}));
    trigger(*form, "SelezionaTutto1");

    ModalDriver driver;
    driver.answer(QMessageBox::Ok).accept();
    trigger(*form, "Converti1");
    expectBoxes(driver,
                {"Procedo al ridimensionamento delle foto selezionate?", "Operazione completata"});
    EXPECT_EQ(dir.read("originali/IMG1.JPG"), original);
    EXPECT_EQ(header("ridotte/IMG1.JPG").width, 800);
    EXPECT_EQ(header("thumbs/IMG1.JPG").width, 640);
    EXPECT_FALSE(dir.exists("x.JPG"));

    // A row that names no single entry, however it got into the table, is refused by every
    // command, not resolved.
    form->TabFotoOriginali.append("..\\originali\\IMG1.JPG");
    ModalDriver refused;
    refused.answer(QMessageBox::Ok).accept();
    trigger(*form, "Cancella1");
    expectBoxes(refused, {"Confermare eliminazione foto?\nLa foto verrà cancellata "
                          "permanentemente dal disco rigido",
                          "Nome foto non valido: ..\\originali\\IMG1.JPG."});
    EXPECT_EQ(dir.read("originali/IMG1.JPG"), original);
}
