#include "window/ConversionRun.h"

#include "window/Preview.h"
#include "workspace/Prompt.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <thread>

namespace tess::workspace {

ConversionRun::ConversionRun(QWidget& window, QWidget& stopButton, Prompt& prompt,
                             std::vector<PreviewSlot*> previews,
                             std::unique_ptr<ParallelConversion> pass,
                             std::atomic<ConversionRun*>& current)
    : m_window(window), m_stopButton(stopButton), m_prompt(prompt), m_previews(std::move(previews)),
      m_pass(std::move(pass)), m_current(current) {
    m_current = this;
    // About a frame of a 60 Hz screen.
    m_frame.setSingleShot(true);
    m_frame.setInterval(16);
    connect(&m_frame, &QTimer::timeout, this, [this] {
        if (followRows())
            m_frame.start();
    });
    qApp->installEventFilter(this);
}

ConversionRun::~ConversionRun() {
    qApp->removeEventFilter(this);
    m_current = nullptr;
}

ParallelConversion::Outcome ConversionRun::exec(const std::function<void(int count)>& rowsDone) {
    m_rowsDone = rowsDone;
    QEventLoop loop;
    ParallelConversion::Outcome outcome;
    std::thread writer([&] {
        try {
            outcome = m_pass->run([this](int row) { rowFinished(row); });
        } catch (...) {
            outcome.end = ParallelConversion::End::Failed;
            outcome.error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    writer.join();
    m_frame.stop();
    followRows();
    // The previews of the rows passed are decoded off the window's thread; the last one is
    // shown before the run is reported.
    while (previewsBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return outcome;
}

void ConversionRun::rowFinished(int row) {
    m_rowsFinished = row + 1;
    if (!m_followPosted.exchange(true)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_followPosted = false;
                if (m_frame.isActive())
                    return;
                if (followRows())
                    m_frame.start();
            },
            Qt::QueuedConnection);
    }
}

bool ConversionRun::followRows() {
    const int finished = m_rowsFinished;
    if (finished == m_rowsFollowed)
        return false;
    const int count = finished - m_rowsFollowed;
    m_rowsFollowed = finished;
    m_rowsDone(count);
    return true;
}

void ConversionRun::askToStop() {
    if (m_asking || m_stopping)
        return;
    m_asking = true;
    const bool stop = ask("Interrompere la conversione?");
    m_asking = false;
    if (stop) {
        m_stopping = true;
        m_pass->stop();
    }
    m_pass->resume();
}

bool ConversionRun::ask(const std::string& question) {
    // Held first, so that nothing is written from the moment the question shows.
    m_pass->hold();
    return m_prompt.confirm(question);
}

bool ConversionRun::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && isInWindow(watched)) {
            askToStop();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
        break;
    default:
        return false;
    }
    return watched != &m_stopButton && isInWindow(watched);
}

bool ConversionRun::isInWindow(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window() == &m_window;
}

bool ConversionRun::previewsBusy() const {
    return std::any_of(m_previews.begin(), m_previews.end(),
                       [](const PreviewSlot* preview) { return preview->isBusy(); });
}

} // namespace tess::workspace
