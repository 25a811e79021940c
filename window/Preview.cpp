#include "window/Preview.h"

#include "dialogs/MessageBoxes.h"
#include "platform/ThreadPriority.h"
#include "workspace/PreviewPicture.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace tess::workspace {
namespace {

QPixmap toPixmap(const imaging::RgbImage& image) {
    const QImage view(image.pixels.data(), image.width, image.height, image.width * 3,
                      QImage::Format_RGB888);
    return QPixmap::fromImage(view.copy());
}

void showPicture(const imaging::RgbImage& picture, QLabel* label, QLabel* image) {
    image->resize(picture.width, picture.height);
    image->setPixmap(toPixmap(picture));
    label->hide();
    image->show();
}

void showFailure(QLabel* label, QLabel* image) {
    image->clear();
    showNotAvailable(label, image);
}

} // namespace

void showNotAvailable(QLabel* label, QLabel* image) {
    image->hide();
    label->show();
}

void MostraAnteprima(platform::FileSystem& fs, const std::string& path, QLabel* label,
                     QLabel* image) {
    if (!hasPreview(path)) {
        showNotAvailable(label, image);
        return;
    }
    try {
        showPicture(decodePreview(fs, path), label, image);
    } catch (...) {
        showFailure(label, image);
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

PreviewSlot::~PreviewSlot() {
    if (m_decoding.valid())
        m_decoding.wait();
}

void PreviewSlot::flush() {
    while (isBusy()) {
        if (m_decoding.valid()) {
            m_decoding.wait();
            finishDecoding();
        } else {
            refresh();
        }
    }
}

void PreviewSlot::refresh() {
    // A decode on its thread takes up a new request when it ends.
    if (!m_pending || m_decoding.valid())
        return;
    m_pending = false;
    const std::optional<std::string> path = m_source();
    if (!path) {
        showNotAvailable(m_label, m_image);
        return;
    }
    if (!m_background) {
        try {
            MostraAnteprima(m_fs, *path, m_label, m_image);
        } catch (...) {
            report(*path, std::current_exception());
        }
        return;
    }
    if (!hasPreview(*path)) {
        showNotAvailable(m_label, m_image);
        return;
    }
    m_decoding = std::async(std::launch::async, [this, path = *path] {
        platform::lowerCurrentThreadPriority();
        Decoded decoded;
        decoded.path = path;
        try {
            decoded.picture = decodePreview(m_fs, path);
        } catch (...) {
            decoded.error = std::current_exception();
        }
        QMetaObject::invokeMethod(this, &PreviewSlot::finishDecoding, Qt::QueuedConnection);
        return decoded;
    });
}

void PreviewSlot::finishDecoding() {
    if (!m_decoding.valid()) // already shown by flush()
        return;
    const Decoded decoded = m_decoding.get();
    if (decoded.error) {
        showFailure(m_label, m_image);
        report(decoded.path, decoded.error);
    } else {
        showPicture(decoded.picture, m_label, m_image);
    }
    if (m_pending)
        refresh();
}

void PreviewSlot::report(const std::string& path, const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        m_lastFailure = Failure{path, e.what()};
    } catch (...) {
        m_lastFailure.reset();
    }
    ui::runCommand(m_window, [&] { std::rethrow_exception(error); });
}

} // namespace tess::workspace
