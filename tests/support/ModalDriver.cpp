#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>

namespace tess::test {

namespace {
// Only the newest driver answers; when it ends, the one before it answers again.
std::vector<ModalDriver*> s_drivers;
} // namespace

ModalDriver::ModalDriver(int watchdogMs)
    : m_watch(
          watchdogMs, [this](QWidget* modal) { handle(modal); },
          [this](QWidget* modal) { closeStuck(modal); }) {
    if (!s_drivers.empty())
        s_drivers.back()->m_watch.pause();
    s_drivers.push_back(this);
}

ModalDriver::~ModalDriver() {
    m_watch.pause();
    const bool newest = !s_drivers.empty() && s_drivers.back() == this;
    std::erase(s_drivers, this);
    if (newest && !s_drivers.empty())
        s_drivers.back()->m_watch.resume();
}

ModalDriver& ModalDriver::then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
}

ModalDriver& ModalDriver::answer(QMessageBox::StandardButton button) {
    return then([button](QWidget* modal) { clickMessageBoxButton(modal, button); });
}

ModalDriver& ModalDriver::accept() {
    return then([](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->defaultButton())
            box->defaultButton()->click();
        else if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->accept();
    });
}

QStringList ModalDriver::texts() const {
    QStringList result;
    for (const Seen& s : m_seen)
        if (s.className == QLatin1String("QMessageBox"))
            result << s.text;
    return result;
}

namespace {

void closeModal(QWidget* modal) {
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

} // namespace

void ModalDriver::closeStuck(QWidget* modal) {
    m_problems << QStringLiteral("modal window left open: %1 \"%2\"")
                      .arg(QString::fromLatin1(modal->metaObject()->className()),
                           modal->windowTitle());
    closeModal(modal);
}

void ModalDriver::handle(QWidget* modal) {
    Seen seen;
    seen.className = QString::fromLatin1(modal->metaObject()->className());
    seen.title = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen.className = QStringLiteral("QMessageBox");
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text();
    }
    m_seen.push_back(seen);

    if (m_steps.empty()) {
        m_problems << QStringLiteral("unexpected modal window: %1 \"%2\" %3")
                          .arg(seen.className, seen.title, seen.text);
        closeModal(modal);
        return;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    step(modal);
}

void clickMessageBoxButton(QWidget* modal, QMessageBox::StandardButton button) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        return;
    }
    if (QAbstractButton* b = box->button(button))
        b->click();
    else
        box->reject();
}

} // namespace tess::test
