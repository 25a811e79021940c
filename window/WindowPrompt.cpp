#include "window/WindowPrompt.h"

#include "dialogs/MessageBoxes.h"
#include "dialogs/TTavIn1Form.h"

#include <QLabel>
#include <QLineEdit>

namespace tess::workspace {

bool WindowPrompt::confirm(const std::string& text) {
    return ui::confirm(m_window, QString::fromStdString(text));
}

void WindowPrompt::notice(const std::string& text) {
    ui::notice(m_window, QString::fromStdString(text));
}

std::optional<std::string> WindowPrompt::askName(const std::string& question,
                                                 const std::string& base) {
    TTavIn1Form dialog(m_window);
    dialog.setFont(m_window->font());
    dialog.Label1->setText(QString::fromStdString(question));
    dialog.Edit1->setText(QString::fromStdString(base));
    dialog.exec();
    if (dialog.Esito != 1)
        return std::nullopt;
    return dialog.Edit1->text().toStdString();
}

void WindowPrompt::reportError(const std::string& message) {
    ui::showError(m_window, QString::fromStdString(message));
}

} // namespace tess::workspace
