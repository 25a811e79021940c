#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace tess::ui {

// The application title: the task bar text and the title of notices and error boxes.
inline constexpr const char kApplicationTitle[] = "TESSALUMA";

// A confirmation: titled "Confirm", a question mark, OK and Cancel. True only for OK.
bool confirm(QWidget* parent, const QString& text);

// A notice: a plain box titled with the application title, with one OK button.
void notice(QWidget* parent, const QString& text);

// The text the error box shows for a failure's message: a full stop is appended when the
// message's last character sorts after ".".
QString errorBoxText(const QString& message);

// The standard error box: error icon, OK, titled with the application title.
void showError(QWidget* parent, const QString& message);

// Runs a command; a failure it does not handle itself ends it and is shown in the standard
// error box, and the program goes on. Every command of every window runs through here.
void runCommand(QWidget* parent, const std::function<void()>& command);

} // namespace tess::ui
