#include "WindowTest.h"

#include <QApplication>
#include <QWidget>

namespace tess::test {

WindowTest::WindowTest() : m_watchdog(std::make_unique<ModalDriver>()) {}

void WindowTest::TearDown() {
    QApplication::processEvents();
    if (m_watchdog) {
        for (const QString& problem : m_watchdog->problems())
            ADD_FAILURE() << problem.toStdString();
        m_watchdog.reset();
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) {
            ADD_FAILURE() << "top-level window left open: " << w->metaObject()->className() << " \""
                          << w->windowTitle().toStdString() << "\"";
            w->close();
        }
    }
}

} // namespace tess::test
