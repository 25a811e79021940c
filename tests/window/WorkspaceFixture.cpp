#include "WorkspaceFixture.h"

#include "TestPictures.h"

#include "imaging/Jpeg.h"
#include "window/Preview.h"

#include <QDeadlineTimer>
#include <QTimer>

#include <fstream>

namespace tess::test {

WorkspaceTest::WorkspaceTest() : holder{"Tessaluma", dir.win("Tessaluma.ini")} {
    dir.mkdir("originali");
    dir.mkdir("ridotte");
    dir.mkdir("thumbs");
    originals = dir.win("originali") + "\\";
    reduced = dir.win("ridotte") + "\\";
    thumbs = dir.win("thumbs") + "\\";
    dir.mkdir("Immagini");
    pictures = fs.startFolder = dir.win("Immagini") + "\\";
}

void WorkspaceTest::writeSettings(bool originalsPreview, const std::string& extra) {
    dir.write("Tessaluma.ini",
              "[Tessaluma]\r\nPercorsoFotoOriginali=" + originals +
                  "\r\nPercorsoFotoRidotte=" + reduced + "\r\nPercorsoFotoThumbs=" + thumbs +
                  "\r\nAnteprimaOriginali=" + (originalsPreview ? "SI" : "NO") + "\r\n" + extra);
}

std::unique_ptr<TRidFotoForm> WorkspaceTest::openWorkspace() {
    return std::make_unique<TRidFotoForm>(nullptr, holder, fs);
}

void WorkspaceTest::photo(const std::string& relative, int width, int height, bool progressive,
                          int orientation) {
    const imaging::RgbImage image = paintPicture(width, height, [&](int x, int y) {
        return std::array<int, 3>{255 * x / width, 255 * y / height,
                                  (x / 16 + y / 16) % 2 ? 200 : 40};
    });
    const imaging::Bytes data = imaging::encodeJpeg(image, 85, progressive, orientation);
    std::ofstream(dir.host(relative), std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

std::vector<std::string> WorkspaceTest::names(const workspace::PhotoTable& table) {
    std::vector<std::string> result;
    for (int i = 0; i < table.rowCount(); ++i)
        result.push_back(table.row(i).nomeFoto);
    return result;
}

void waitForPreviews(TRidFotoForm& form) {
    const auto busy = [&form] {
        for (int c = 0; c < workspace::ColumnCount; ++c) {
            if (form.preview(c).isBusy())
                return true;
        }
        return false;
    };
    // Each result the worker hands over wakes the loop; the timer ends a wait that is never met.
    QDeadlineTimer deadline(10000);
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(10000);
    while (busy() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_FALSE(busy()) << "a preview was still not shown after 10 s";
}

void expectBoxes(const ModalDriver& driver, const QStringList& texts) {
    EXPECT_EQ(driver.texts(), texts);
    EXPECT_TRUE(driver.problems().isEmpty())
        << driver.problems().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(driver.pendingSteps(), 0);
}

} // namespace tess::test
