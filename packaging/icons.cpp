// Writes the program's icon into an icon theme folder at every size the program draws it:
// ICONDIR/NxN/apps/NAME.png. Run at build time; the package installs what it writes.
#include "app/Logo.h"

#include <QDir>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessaluma-icons ICONDIR NAME\n");
        return 2;
    }
    const QString themeDir = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : tess::ui::kIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(themeDir).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(folder, name);
        if (!QDir().mkpath(folder) || !tess::ui::tessalumaIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "tessaluma-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
