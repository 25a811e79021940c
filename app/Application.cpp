#include "app/Application.h"

#include "app/Logo.h"
#include "dialogs/Fonts.h"
#include "dialogs/MessageBoxes.h"

#include <QApplication>

namespace tess::ui {

void setUpApplication() {
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    QApplication::setApplicationVersion(programVersionText());
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSALUMA_APP_ID));
    QApplication::setWindowIcon(tessalumaWindowIcon());
    loadFonts();
}

QString programVersionText() {
    return QStringLiteral("%1.%2")
        .arg(TESSALUMA_VERSION_MAJOR)
        .arg(TESSALUMA_VERSION_MINOR, 2, 10, QLatin1Char('0'));
}

} // namespace tess::ui
