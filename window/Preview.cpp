#include "window/Preview.h"

#include "dialogs/MessageBoxes.h"
#include "workspace/PreviewPicture.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPointer>

namespace tess::workspace {
namespace {

QPixmap toPixmap(const imaging::RgbImage& image) {
    const QImage view(image.pixels.data(), image.width, image.height, image.width * 3,
                      QImage::Format_RGB888);
    return QPixmap::fromImage(view.copy());
}

// What a failure says; nothing for one that is not an exception of the standard kind.
std::optional<std::string> messageOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace

PreviewSlot::PreviewSlot(PreviewBoard& board, int list, QLabel* image, QLabel* label, Source source)
    : m_board(board), m_list(list), m_image(image), m_label(label), m_source(std::move(source)) {
    showNotAvailable();
}

void PreviewSlot::schedule() {
    if (m_pending)
        return;
    m_pending = true;
    // A posted call runs before the window paints what the move changed.
    QMetaObject::invokeMethod(
        &m_board, [this] { refresh(); }, Qt::QueuedConnection);
}

void PreviewSlot::refresh() {
    if (!m_pending)
        return;
    m_pending = false;
    const std::optional<std::string> path = m_source();
    if (!path) {
        showNotAvailable();
        return;
    }
    MostraAnteprima(*path);
}

void PreviewSlot::MostraAnteprima(const std::string& path) {
    if (!hasPreview(path)) {
        showNotAvailable();
        return;
    }
    m_ticket = m_board.m_worker.request(m_list, path);
}

void PreviewSlot::showNotAvailable() {
    // A picture still on its way would come too late.
    if (m_ticket != 0) {
        m_board.m_worker.withdraw(m_list);
        m_ticket = 0;
    }
    m_image->hide();
    m_label->show();
}

void PreviewSlot::keepFailure(const std::string& path, const std::exception_ptr& error) {
    if (const std::optional<std::string> message = messageOf(error))
        m_lastFailure = Failure{path, *message};
    else
        m_lastFailure.reset();
}

bool PreviewSlot::hasShown(const std::exception_ptr& error) const {
    const std::optional<std::string> path = m_source();
    const std::optional<std::string> message = messageOf(error);
    return path && message && m_lastFailure == Failure{*path, *message};
}

PreviewBoard::PreviewBoard(platform::FileSystem& fs, int lists, QWidget* window)
    : QObject(window), m_window(window), m_worker(fs, lists, [this](PreviewWorker::Result result) {
          QMetaObject::invokeMethod(
              this, [this, result = std::move(result)]() mutable { arrive(std::move(result)); },
              Qt::QueuedConnection);
      }) {}

PreviewBoard::~PreviewBoard() = default;

PreviewSlot* PreviewBoard::addSlot(QLabel* image, QLabel* label, PreviewSlot::Source source) {
    m_slots.push_back(std::unique_ptr<PreviewSlot>(
        new PreviewSlot(*this, int(m_slots.size()), image, label, std::move(source))));
    return m_slots.back().get();
}

void PreviewBoard::arrive(PreviewWorker::Result result) {
    m_arrived.push_back(std::move(result));
    showArrived();
}

void PreviewBoard::showArrived() {
    // The box open further up the stack shows the rest once it is answered.
    if (m_reporting)
        return;
    while (!m_arrived.empty()) {
        const PreviewWorker::Result result = std::move(m_arrived.front());
        m_arrived.pop_front();
        PreviewSlot& slot = *m_slots[std::size_t(result.list)];
        if (slot.m_ticket != result.ticket)
            continue; // asked again since
        if (!result.error) {
            slot.m_ticket = 0;
            slot.m_image->resize(result.picture.width, result.picture.height);
            slot.m_image->setPixmap(toPixmap(result.picture));
            slot.m_label->hide();
            slot.m_image->show();
            continue;
        }
        // The slot stays busy until its box is answered.
        slot.m_image->clear();
        slot.m_image->hide();
        slot.m_label->show();
        slot.keepFailure(result.path, result.error);
        m_reporting = true;
        const QPointer<PreviewBoard> alive(this);
        ui::runCommand(m_window, [&] { std::rethrow_exception(result.error); });
        if (!alive)
            return;
        m_reporting = false;
        if (slot.m_ticket == result.ticket)
            slot.m_ticket = 0;
    }
}

} // namespace tess::workspace
