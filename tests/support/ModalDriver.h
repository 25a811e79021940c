#pragma once

#include "ModalWatch.h"

#include <QMessageBox>
#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <ostream>
#include <vector>

// Lets GoogleTest print Qt text in its failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tess::test {

// Answers the modal windows that the code under test opens, one step per window, in the order
// they appear. Each step receives the modal widget once it is active and must close it (click a
// button, send a key, call done()). A modal window with no step left, or one still open after the
// watchdog's time, is recorded as unexpected and rejected, so a broken test fails instead of
// hanging. Only the newest driver answers; starting one stops the one before until it ends.
// Every window test has one with no steps from its start (see WindowTest), so a box that no
// test expects is closed and fails the test.
class ModalDriver {
public:
    using Step = std::function<void(QWidget* modal)>;

    struct Seen {
        QString className;
        QString title;
        QString text; // a message box's text
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons; // a message box's button texts
    };

    explicit ModalDriver(int watchdogMs = 5000);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    ModalDriver& then(Step step);
    // Common steps.
    ModalDriver& answer(QMessageBox::StandardButton button); // a message box's button
    ModalDriver& accept();                                   // a message box's default button

    int pendingSteps() const { return int(m_steps.size()); }
    const std::vector<Seen>& seen() const { return m_seen; }
    const QStringList& problems() const { return m_problems; }
    // The texts of the message boxes seen, in order.
    QStringList texts() const;

private:
    void handle(QWidget* modal);
    void closeStuck(QWidget* modal);

    std::deque<Step> m_steps;
    std::vector<Seen> m_seen;
    QStringList m_problems;
    ModalWatch m_watch;
};

// Clicks the button of a message box.
void clickMessageBoxButton(QWidget* box, QMessageBox::StandardButton button);

} // namespace tess::test
