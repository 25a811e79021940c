#include "workspace/Preview.h"

#include "dialogs/MessageBoxes.h"
#include "imaging/Fit.h"
#include "imaging/Jpeg.h"
#include "platform/Error.h"
#include "platform/FileSystem.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace tess::workspace {
namespace {

bool endsInJpg(const std::string& path) {
    const std::string tail = path.size() > 3 ? path.substr(path.size() - 3) : path;
    std::string upper;
    for (const char c : tail)
        upper += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    return upper == "JPG";
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
        // A file bigger than any photo a preview can take is not even read.
        const std::optional<imaging::Bytes> read =
            fs.readFileUpTo(path, imaging::kMaxPreviewFileSize);
        if (!read)
            throw Error(std::string(imaging::kPreviewTooLarge) + ": " + path);
        const imaging::Bytes& data = *read;
        const imaging::JpegInfo info = imaging::readJpegHeader(data);
        const imaging::PreviewFit fit = imaging::previewFit(info.width, info.height);
        // Decoded at a quarter of its size and drawn point-sampled into the view's new size,
        // which is the quarter size itself when it fits.
        const std::vector<imaging::RgbImage> pictures =
            imaging::decodeStretched(data, imaging::DecodeProfile::SpeedFirst, {fit.view});
        image->resize(fit.view.width, fit.view.height);
        image->setPixmap(toPixmap(pictures.front()));
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
