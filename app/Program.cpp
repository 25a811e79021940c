#include "app/Program.h"

#include "app/Application.h"
#include "app/TBaseMainForm.h"
#include "platform/SystemFileSystem.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

int runProgram(int argc, char** argv, bool openWorkspace, const std::function<void()>& shown) {
    QApplication app(argc, argv);
    tess::ui::setUpApplication();

    tess::platform::SystemFileSystem fs;
    TBaseMainForm mainForm(fs);
    mainForm.show();
    if (openWorkspace)
        QTimer::singleShot(0, mainForm.GestioneFoto2, &QAction::trigger);
    if (shown)
        shown();
    return app.exec();
}
