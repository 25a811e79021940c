#include "ModalWatch.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>

#include <algorithm>

namespace tess::test {

ModalWatch::ModalWatch(int watchdogMs, Handler onNew, Handler onStuck, int pollMs)
    : m_watchdogMs(watchdogMs), m_onNew(std::move(onNew)), m_onStuck(std::move(onStuck)) {
    m_timer.setInterval(pollMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
}

void ModalWatch::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (modal != m_active) {
        m_active = modal;
        m_activeSince = now;
    } else if (now - m_activeSince > m_watchdogMs) {
        m_activeSince = now;
        m_onStuck(modal);
        return;
    }
    std::erase_if(m_handled, [](const QPointer<QWidget>& w) { return w.isNull(); });
    if (std::find(m_handled.begin(), m_handled.end(), modal) != m_handled.end())
        return;
    // A window is shown before it is activated: it is handed on as a user meets it, active
    // (or after kActivationMs all the same). Waiting here, not in a loop of the handler's own,
    // lets a window that opens over it meanwhile be handed on first.
    if (!modal->isActiveWindow() && now - m_activeSince < kActivationMs)
        return;
    m_handled.emplace_back(modal);
    modal->installEventFilter(&m_hideWatcher);
    m_onNew(modal);
}

bool ModalWatch::HideWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide) {
        watched->removeEventFilter(this);
        std::erase_if(m_watch.m_handled,
                      [watched](const QPointer<QWidget>& w) { return w.data() == watched; });
    }
    return false;
}

} // namespace tess::test
