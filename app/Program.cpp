#include "app/Program.h"

#include "app/TBaseMainForm.h"
#include "dialogs/Fonts.h"
#include "dialogs/MessageBoxes.h"
#include "platform/PosixFileSystem.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

int runProgram(int argc, char** argv, bool openWorkspace) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tess::ui::kApplicationTitle));
    tess::ui::loadFonts();

    tess::platform::PosixFileSystem fs;
    TBaseMainForm mainForm(fs);
    mainForm.show();
    if (openWorkspace)
        QTimer::singleShot(0, mainForm.GestioneFoto2, &QAction::trigger);
    return app.exec();
}
