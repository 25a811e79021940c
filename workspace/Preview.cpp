#include "workspace/Preview.h"

#include "dialogs/MessageBoxes.h"
#include "imaging/Exif.h"
#include "imaging/Fit.h"
#include "imaging/Jpeg.h"
#include "imaging/Orientation.h"
#include "platform/FileSystem.h"
#include "platform/WindowsPath.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace tess::workspace {
namespace {

bool endsInJpg(const std::string& path) {
    const std::string tail = path.size() > 3 ? path.substr(path.size() - 3) : path;
    return platform::asciiUpper(tail) == "JPG";
}

QPixmap toPixmap(const imaging::RgbImage& image) {
    const QImage view(image.pixels.data(), image.width, image.height, image.width * 3,
                      QImage::Format_RGB888);
    return QPixmap::fromImage(view.copy());
}

} // namespace

void showNotAvailable(QLabel* label, QLabel* image) {
    image->hide();
    label->show();
}

void MostraAnteprima(platform::FileSystem& fs, const std::string& path, QLabel* label,
                     QLabel* image) {
    if (!endsInJpg(path)) {
        showNotAvailable(label, image);
        return;
    }
    try {
        const imaging::Bytes data = fs.readFile(path);
        const imaging::JpegInfo info = imaging::readJpegHeader(data);
        // The photo is shown upright, as viewers show it, and fitted by its upright size.
        const int orientation = imaging::readExifOrientation(data);
        const imaging::Size upright = imaging::orientedSize({info.width, info.height}, orientation);
        const imaging::PreviewFit fit = imaging::previewFit(upright.width, upright.height);
        // Decoded at a quarter of its size and drawn point-sampled into the view's new size,
        // which is the quarter size itself when it fits; then turned.
        const std::vector<imaging::RgbImage> pictures =
            imaging::decodeStretched(data, imaging::DecodeProfile::SpeedFirst,
                                     {imaging::orientedSize(fit.view, orientation)});
        image->resize(fit.view.width, fit.view.height);
        image->setPixmap(toPixmap(imaging::turnUpright(pictures.front(), orientation)));
        label->hide();
        image->show();
    } catch (...) {
        image->clear();
        showNotAvailable(label, image);
        throw;
    }
}

PreviewSlot::PreviewSlot(QLabel* image, QLabel* label, platform::FileSystem& fs, Source source,
                         QWidget* window)
    : QObject(window), m_image(image), m_label(label), m_fs(fs), m_source(std::move(source)),
      m_window(window) {
    showNotAvailable(m_label, m_image);
}

void PreviewSlot::schedule() {
    if (m_pending)
        return;
    m_pending = true;
    // A posted call runs before the window paints what the move changed.
    QMetaObject::invokeMethod(this, &PreviewSlot::refresh, Qt::QueuedConnection);
}

void PreviewSlot::flush() {
    if (m_pending)
        refresh();
}

void PreviewSlot::refresh() {
    if (!m_pending)
        return;
    m_pending = false;
    const std::optional<std::string> path = m_source();
    if (!path) {
        showNotAvailable(m_label, m_image);
        return;
    }
    ui::runCommand(m_window, [&] { MostraAnteprima(m_fs, *path, m_label, m_image); });
}

} // namespace tess::workspace
