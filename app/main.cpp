// The program's entry: the application object, its title, icon and fonts, then the main window
// and the message loop, which ends when the main window closes.
#include "app/Application.h"
#include "app/TBaseMainForm.h"
#include "platform/PosixFileSystem.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tess::ui::setUpApplication();

    tess::platform::PosixFileSystem fs;
    TBaseMainForm mainForm(fs);
    mainForm.show();
    return app.exec();
}
