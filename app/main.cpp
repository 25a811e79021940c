// The program's entry: the application object, its title and fonts, then the main window and
// the message loop, which ends when the main window closes.
#include "app/TBaseMainForm.h"
#include "dialogs/Fonts.h"
#include "dialogs/MessageBoxes.h"
#include "platform/PosixFileSystem.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tess::ui::kApplicationTitle));
    tess::ui::loadFonts();

    tess::platform::PosixFileSystem fs;
    TBaseMainForm mainForm(fs);
    mainForm.show();
    return app.exec();
}
