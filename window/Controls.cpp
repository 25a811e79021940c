#include "window/Controls.h"

#include "window/RefreshGlyph.h"

#include "dialogs/DialogPictures.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace tess::workspace {

QPushButton* flatButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int height) {
    auto* button = place(new QPushButton(caption, parent), name, left, top, width, height);
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

QPushButton* refreshButton(QWidget* parent, const char* name, int left, int top) {
    auto* button = place(new QPushButton(parent), name, left, top, 21, 21);
    button->setIcon(tess::ui::pixelIcon(refreshGlyph()));
    button->setIconSize(QSize(11, 11));
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* editBox(QWidget* parent, const char* name, int left, int top, int width, int height) {
    return place(new QLineEdit(parent), name, left, top, width, height);
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption) {
    auto* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace tess::workspace
