#include "WindowTest.h"

#include <QApplication>
#include <QWidget>

namespace tess::test {

void WindowTest::TearDown() {
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) {
            ADD_FAILURE() << "top-level window left open: " << w->metaObject()->className() << " \""
                          << w->windowTitle().toStdString() << "\"";
            w->close();
        }
    }
}

} // namespace tess::test
