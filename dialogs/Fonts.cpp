#include "dialogs/Fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace tess::ui {
namespace {

constexpr int kEightPointPixels = 11; // 8 pt at 96 dpi

QFont pixelFont(const QString& family, bool bold) {
    QFont font(family);
    font.setPixelSize(kEightPointPixels);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

void loadFonts() {
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    const char* files[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf",
                           "/usr/share/wine/fonts/ms_sans_serif.ttf"};
    for (const char* file : files) {
        if (QFile::exists(QString::fromLatin1(file)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
}

QFont tahoma8() {
    return pixelFont(QStringLiteral("Tahoma"), false);
}

QFont msSansSerif8Bold() {
    return pixelFont(QStringLiteral("MS Sans Serif"), true);
}

} // namespace tess::ui
