// Writes the program's icon at every size the program draws it, run at build time:
//   tessaluma-icons ICONDIR NAME  an icon theme folder, ICONDIR/NxN/apps/NAME.png (Linux)
//   tessaluma-icons --ico FILE    one Windows icon file holding every size (the program's
//                                 resource, which Explorer and the shortcuts show)
#include "app/Logo.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void putLittleEndian(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// An icon file whose images are PNG pictures, as Windows reads them since Vista: a header, one
// 16-byte entry per image (a width or height of 256 is written as 0), then the pictures.
bool writeIco(const QString& path) {
    std::vector<QByteArray> pictures;
    for (int size : tess::ui::kIconSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) ||
            !tess::ui::tessalumaIcon(size).save(&buffer, "PNG"))
            return false;
        pictures.push_back(png);
    }
    QByteArray ico;
    putLittleEndian(ico, 0, 2); // reserved
    putLittleEndian(ico, 1, 2); // an icon, not a cursor
    putLittleEndian(ico, std::uint32_t(pictures.size()), 2);
    std::uint32_t offset = 6 + 16 * std::uint32_t(pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const int size = tess::ui::kIconSizes[i];
        putLittleEndian(ico, size >= 256 ? 0 : std::uint32_t(size), 1);
        putLittleEndian(ico, size >= 256 ? 0 : std::uint32_t(size), 1);
        putLittleEndian(ico, 0, 1);  // no palette
        putLittleEndian(ico, 0, 1);  // reserved
        putLittleEndian(ico, 1, 2);  // planes
        putLittleEndian(ico, 32, 2); // bits per pixel
        putLittleEndian(ico, std::uint32_t(pictures[i].size()), 4);
        putLittleEndian(ico, offset, 4);
        offset += std::uint32_t(pictures[i].size());
    }
    for (const QByteArray& picture : pictures)
        ico.append(picture);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size() && file.flush();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessaluma-icons ICONDIR NAME | tessaluma-icons --ico FILE\n");
        return 2;
    }
    if (QString::fromLocal8Bit(argv[1]) == QLatin1String("--ico")) {
        if (!writeIco(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "tessaluma-icons: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
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
