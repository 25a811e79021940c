#include "WorkspaceFixture.h"

#include "imaging/Jpeg.h"
#include "window/Preview.h"

#include <QCheckBox>
#include <QLabel>

#include <jerror.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QThread>

#include <array>
#include <atomic>
#include <filesystem>

using namespace tess::test;

namespace {

class WorkspacePreview : public WorkspaceTest {
protected:
    QLabel* image(TRidFotoForm& form, int column) { return form.preview(column).image(); }
    QLabel* label(TRidFotoForm& form, int column) { return form.preview(column).label(); }

    // The size shown, or an empty size when the label stands in for the picture.
    QSize shown(TRidFotoForm& form, int column) {
        waitForPreviews(form);
        EXPECT_NE(image(form, column)->isVisibleTo(&form), label(form, column)->isVisibleTo(&form))
            << "exactly one of picture and label";
        return image(form, column)->isVisibleTo(&form) ? image(form, column)->size() : QSize();
    }
};

} // namespace

TEST_F(WorkspacePreview, FollowsTheCursorWithFittedPictures) {
    photo("ridotte/a.JPG", 805, 676);
    photo("ridotte/b.jpg", 800, 600, true);
    photo("ridotte/c.Jpg", 1608, 804);
    dir.write("ridotte/d.jpeg", "not looked at");
    dir.write("ridotte/e.txt");
    writeSettings();
    auto form = openWorkspace();
    const std::vector<QSize> expected{{201, 168}, {200, 150}, {201, 100}, {}, {}};
    for (int row = 0; row < 5; ++row) {
        form->TabFotoRidotte.moveTo(row);
        EXPECT_EQ(shown(*form, 1), expected[std::size_t(row)]) << row;
    }
    form->TabFotoRidotte.moveTo(0);
    EXPECT_EQ(shown(*form, 1), QSize(201, 168));
    EXPECT_EQ(image(*form, 1)->pos(), QPoint(297, 354)); // the corner never moves
    EXPECT_EQ(shown(*form, 2), QSize());                 // empty thumbnails list

    // A folder typed without its final "\" is joined to the name with one.
    setText(*form, "EditPercorsoRidotte", dir.win("ridotte"));
    form->TabFotoRidotte.moveTo(1);
    EXPECT_EQ(shown(*form, 1), QSize(200, 150));
}

TEST_F(WorkspacePreview, CheckBoxSwitchesTheOriginalsPreviewWithoutDecoding) {
    photo("originali/a.jpg", 400, 300);
    writeSettings(false); // preview off
    auto form = openWorkspace();
    EXPECT_EQ(shown(*form, 0), QSize());
    EXPECT_TRUE(fs.reads.empty());
    auto* box = control<QCheckBox>(*form, "CheckBox1");
    box->setChecked(false);
    EXPECT_EQ(shown(*form, 0), QSize(100, 75));
    EXPECT_EQ(fs.reads.size(), 1u);
    box->setChecked(true);
    EXPECT_EQ(shown(*form, 0), QSize());
    form->TabFotoOriginali.first();
    EXPECT_EQ(shown(*form, 0), QSize());
    EXPECT_EQ(fs.reads.size(), 1u);
}

TEST_F(WorkspacePreview, OperationsThatWalkAListDecodeOnlyTheRowTheyEndOn) {
    for (int i = 1; i <= 6; ++i)
        photo("originali/IMG_" + std::to_string(i) + ".JPG", 64, 48);
    writeSettings(true);
    auto form = openWorkspace();
    waitForPreviews(*form);
    EXPECT_EQ(fs.reads, (std::vector<std::string>{originals + "IMG_1.JPG"})); // one for opening
    fs.reads.clear();
    trigger(*form, "SelezionaTutto1");
    waitForPreviews(*form);
    EXPECT_EQ(fs.reads, (std::vector<std::string>{originals + "IMG_6.JPG"}));
    fs.reads.clear();
    form->ButtonRefreshOriginaliClick();
    waitForPreviews(*form);
    EXPECT_EQ(fs.reads, (std::vector<std::string>{originals + "IMG_1.JPG"}));
}

TEST_F(WorkspacePreview, DamagedFirstPhotosStillOpenTheWindowWithOneBoxEachInListOrder) {
    dir.write("originali/IMG_1.JPG", "this is no JPEG data");
    photo("originali/IMG_2.JPG", 64, 48);
    dir.write("ridotte/IMG_1.JPG", "");
    writeSettings(true);
    ModalDriver driver;
    driver.accept().accept();
    auto form = openWorkspace();
    EXPECT_EQ(form->TabFotoOriginali.rowCount(), 2);
    form->show();
    waitForPreviews(*form);
    expectBoxes(driver, {QStringLiteral("JPEG error #%1.").arg(JERR_NO_SOI),
                         QStringLiteral("JPEG error #%1.").arg(JERR_INPUT_EMPTY)});
    EXPECT_EQ(shown(*form, 0), QSize());
    EXPECT_EQ(shown(*form, 1), QSize());

    // Marking everything goes to its end past the damaged photo.
    form->TabFotoOriginali.moveTo(1);
    waitForPreviews(*form);
    trigger(*form, "SelezionaTutto1");
    EXPECT_EQ(form->TabFotoOriginali.row(0).selezionato, 1);
    EXPECT_EQ(form->TabFotoOriginali.row(1).selezionato, 1);
    EXPECT_EQ(shown(*form, 0), QSize(16, 12));
    form->close();
    EXPECT_TRUE(driver.problems().isEmpty());
}

TEST_F(WorkspacePreview, PhotoRemovedBehindTheListReportsItsPath) {
    photo("thumbs/a.jpg", 64, 48);
    photo("thumbs/b.jpg", 64, 48);
    writeSettings();
    auto form = openWorkspace();
    waitForPreviews(*form);
    std::filesystem::remove(dir.host("thumbs/b.jpg"));
    ModalDriver driver;
    driver.accept();
    form->TabFotoThumbs.moveTo(1);
    waitForPreviews(*form);
    expectBoxes(driver, {QString::fromStdString("Cannot open file " + thumbs + "b.jpg.")});
    EXPECT_EQ(shown(*form, 2), QSize());
}

TEST_F(WorkspacePreview, ARowLeftWhileItsPhotoIsReadShowsNothingAndTheWindowReadsNoFile) {
    photo("thumbs/a.jpg", 400, 300);
    photo("thumbs/b.jpg", 64, 48);
    photo("thumbs/c.jpg", 800, 600);
    writeSettings();
    std::atomic<int> readsOnWindowThread = 0;
    std::unique_ptr<TRidFotoForm> form;
    fs.beforeRead = [&](const std::string& path) {
        if (QThread::currentThread() == qApp->thread())
            ++readsOnWindowThread;
        // The user goes on to c while b is being read, and b turns out to be gone.
        if (path == thumbs + "b.jpg") {
            QMetaObject::invokeMethod(
                form.get(), [&] { form->TabFotoThumbs.moveTo(2); }, Qt::BlockingQueuedConnection);
            std::filesystem::remove(dir.host("thumbs/b.jpg"));
        }
    };
    form = openWorkspace();
    EXPECT_EQ(shown(*form, 2), QSize(100, 75));
    form->TabFotoThumbs.moveTo(1);
    EXPECT_EQ(shown(*form, 2), QSize(200, 150)); // and no box for b
    fs.beforeRead = nullptr;
    EXPECT_EQ(fs.reads,
              (std::vector<std::string>{thumbs + "a.jpg", thumbs + "b.jpg", thumbs + "c.jpg"}));
    EXPECT_EQ(readsOnWindowThread, 0);
}

TEST_F(WorkspacePreview, TurnedPhotosArePreviewedUpright) {
    photo("thumbs/a.jpg", 800, 600, false, 6); // a portrait shot stored on its side
    photo("thumbs/b.jpg", 800, 600, false, 3);
    photo("thumbs/c.jpg", 800, 600, false, 9); // not an orientation: shown as stored
    writeSettings();
    auto form = openWorkspace();
    struct Row {
        QSize size;
        std::array<QColor, 4> corners; // top left, top right, bottom left, bottom right
    };
    const QColor none(0, 0, 0), red(255, 0, 0), green(0, 255, 0), both(255, 255, 0);
    const Row rows[] = {{{127, 169}, {green, none, both, red}},
                        {{200, 150}, {both, green, red, none}},
                        {{200, 150}, {none, red, green, both}}};
    for (int row = 0; row < 3; ++row) {
        form->TabFotoThumbs.moveTo(row);
        ASSERT_EQ(shown(*form, 2), rows[row].size) << row;
        const QImage picture = image(*form, 2)->pixmap().toImage();
        ASSERT_EQ(picture.size(), rows[row].size);
        for (int corner = 0; corner < 4; ++corner) {
            const QColor seen = picture.pixelColor(corner % 2 ? picture.width() - 1 : 0,
                                                   corner / 2 ? picture.height() - 1 : 0);
            const QColor& expected = rows[row].corners[std::size_t(corner)];
            EXPECT_NEAR(seen.red(), expected.red(), 24) << row << " corner " << corner;
            EXPECT_NEAR(seen.green(), expected.green(), 24) << row << " corner " << corner;
        }
    }
}

TEST_F(WorkspacePreview, PipeOrBombAsFirstOriginalOpensTheWindowWithOneBox) {
#ifndef _WIN32
    // A named pipe would block an open for reading until someone wrote to it; the alarm ends
    // the test run instead of letting it hang.
    struct Alarm {
        Alarm() { ::alarm(60); }
        ~Alarm() { ::alarm(0); }
    } alarm;
#endif
    // A few hundred bytes whose header declares 26000 x 26000 pixels.
    tess::imaging::Bytes bomb =
        tess::imaging::encodeJpeg(tess::imaging::RgbImage(16, 16), 50, true);
    for (std::size_t i = 0; i + 8 < bomb.size(); ++i) {
        if (bomb[i] == 0xFF && bomb[i + 1] == 0xC2) {
            bomb[i + 5] = bomb[i + 7] = 26000 >> 8;
            bomb[i + 6] = bomb[i + 8] = 26000 & 0xFF;
            break;
        }
    }
    const struct {
        bool pipe;
        std::string box;
    } cases[] = {
#ifndef _WIN32
        // Windows keeps its named pipes out of folders (\\.\pipe\...): no list can hold one.
        {true, "Cannot open file " + originals + "A.JPG."},
#endif
        {false, "Foto troppo grande per l'anteprima: 26000 x 26000 pixel."},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(dir.host("originali/A.JPG"));
#ifndef _WIN32
        if (c.pipe)
            ASSERT_EQ(::mkfifo(dir.host("originali/A.JPG").c_str(), 0644), 0);
        else
#endif
            dir.write("originali/A.JPG", std::string(bomb.begin(), bomb.end()));
        photo("originali/B.JPG", 64, 48);
        writeSettings(true);
        ModalDriver driver;
        driver.accept();
        auto form = openWorkspace();
        form->show();
        waitForPreviews(*form);
        expectBoxes(driver, {QString::fromStdString(c.box)});
        EXPECT_EQ(shown(*form, 0), QSize());
        form->TabFotoOriginali.moveTo(1);
        EXPECT_EQ(shown(*form, 0), QSize(16, 12));
    }
}
