#pragma once

#include <QString>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;

namespace tess::workspace {

// Names a control after its place in the window's stored layout and puts it there.
template <class W> W* place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// A flat button: a caption that takes no keyboard focus.
QPushButton* flatButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int height);
// A 21 x 21 button with the refresh glyph, a tab stop.
QPushButton* refreshButton(QWidget* parent, const char* name, int left, int top);
QLineEdit* editBox(QWidget* parent, const char* name, int left, int top, int width, int height);
QAction* menuItem(QMenu* menu, const char* name, const QString& caption);

} // namespace tess::workspace
