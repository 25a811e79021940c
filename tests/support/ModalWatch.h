#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

namespace tess::test {

// Polls for the application's active modal window. Each window is handed once to `onNew` when
// it first becomes active (or has been the modal one for kActivationMs); one that is active again
// because a window it opened has closed is not new, while one shown again after it was hidden is. A
// window that stays the active one longer than the watchdog's time is handed to `onStuck` (again
// after each such time).
class ModalWatch {
public:
    using Handler = std::function<void(QWidget* modal)>;
    static constexpr int kActivationMs = 2000;

    ModalWatch(int watchdogMs, Handler onNew, Handler onStuck, int pollMs = 10);
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

    void pause() { m_timer.stop(); }
    // The watchdog's time starts again for the window active then.
    void resume() {
        m_active = nullptr;
        m_timer.start();
    }

private:
    // Forgets a window once it hides.
    class HideWatcher final : public QObject {
    public:
        explicit HideWatcher(ModalWatch& watch) : m_watch(watch) {}

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        ModalWatch& m_watch;
    };

    void poll();

    QTimer m_timer;
    int m_watchdogMs;
    Handler m_onNew;
    Handler m_onStuck;
    QPointer<QWidget> m_active;
    qint64 m_activeSince = 0;
    std::vector<QPointer<QWidget>> m_handled;
    HideWatcher m_hideWatcher{*this};
};

} // namespace tess::test
