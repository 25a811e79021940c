#include "app/Program.h"

#include "app/Application.h"
#include "app/TBaseMainForm.h"
#include "platform/SystemFileSystem.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

int runProgram(int argc, char** argv, bool openWorkspace) {
    QApplication app(argc, argv);
    tess::ui::setUpApplication();

    tess::platform::SystemFileSystem fs;
    TBaseMainForm mainForm(fs);
    mainForm.show();
    if (openWorkspace)
        QTimer::singleShot(0, mainForm.GestioneFoto2, &QAction::trigger);
    return app.exec();
}
