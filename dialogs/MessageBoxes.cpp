#include "dialogs/MessageBoxes.h"

#include "platform/Error.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <new>

namespace tess::ui {
namespace {

// A message box that keeps its lines whole. The toolkit's box wraps every line longer than
// about 500 pixels (less on a small screen), which breaks the program's two-line questions
// into three or four; this one grows as wide as its longest line needs, and wraps only a line
// wider than the screen.
class WholeLinesBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* e) override {
        QMessageBox::showEvent(e);
        keepLinesWhole();
    }

    bool event(QEvent* e) override {
        // The toolkit's box fits itself again, wrapping, whenever its layout asks.
        const bool handled = QMessageBox::event(e);
        if (e->type() == QEvent::LayoutRequest && isVisible())
            keepLinesWhole();
        return handled;
    }

private:
    void keepLinesWhole() {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (!label || !label->wordWrap())
            return;
        label->setWordWrap(false);
        layout()->activate();
        const QSize needed = layout()->totalMinimumSize();
        const QRect room = screen()->availableGeometry();
        const int border = frameGeometry().width() - width();
        if (needed.width() + border > room.width()) {
            label->setWordWrap(true);
            return;
        }
        // Centred over its owner's window, as the toolkit places it, and kept on the screen.
        const QRect over = parentWidget() ? parentWidget()->window()->frameGeometry() : room;
        const int left = std::clamp(over.center().x() - (needed.width() + border) / 2, room.left(),
                                    room.right() + 1 - needed.width() - border);
        setFixedSize(needed);
        move(left, y());
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }
};

int execBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    WholeLinesBox box(icon, title, text, buttons, parent);
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
