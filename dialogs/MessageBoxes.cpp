#include "dialogs/MessageBoxes.h"

#include "platform/Error.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <new>

namespace tess::ui {
namespace {

int execBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setObjectName(QStringLiteral("MessageBox"));
    return box.exec();
}

} // namespace

bool confirm(QWidget* parent, const QString& text) {
    return execBox(parent, QMessageBox::Question, QStringLiteral("Confirm"), text,
                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

void notice(QWidget* parent, const QString& text) {
    execBox(parent, QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle), text,
            QMessageBox::Ok, QMessageBox::Ok);
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void showError(QWidget* parent, const QString& message) {
    execBox(parent, QMessageBox::Critical, QString::fromLatin1(kApplicationTitle),
            errorBoxText(message), QMessageBox::Ok, QMessageBox::Ok);
}

void runCommand(QWidget* parent, const std::function<void()>& command) {
    // The parent may be destroyed by the command itself; the box then has no parent.
    QPointer<QWidget> guard(parent);
    try {
        command();
    } catch (const std::bad_alloc&) {
        showError(guard.data(), QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        showError(guard.data(), QString::fromUtf8(e.what()));
    }
}

} // namespace tess::ui
