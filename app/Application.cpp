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

QString versionText(int major, int minor) {
    return QStringLiteral("%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
}

QString programVersionText() {
    return versionText(TESSALUMA_VERSION_MAJOR, TESSALUMA_VERSION_MINOR);
}

} // namespace tess::ui
