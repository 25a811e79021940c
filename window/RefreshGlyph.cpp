#include "window/RefreshGlyph.h"

#include <QColor>

namespace tess::workspace {

QImage refreshGlyph() {
    constexpr int kSize = 11;
    QImage glyph(kSize, kSize, QImage::Format_RGB32);
    const QColor border(64, 64, 64);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1) {
                glyph.setPixelColor(x, y, border);
                continue;
            }
            // White at the upper left, light grey (192) at the lower right.
            const int shade = 255 - (63 * (x + y - 2)) / (2 * (kSize - 3));
            glyph.setPixelColor(x, y, QColor(shade, shade, shade));
        }
    }
    const int centre = kSize / 2;
    for (int i = 2; i <= kSize - 3; ++i) {
        glyph.setPixelColor(i, centre, Qt::black);
        glyph.setPixelColor(centre, i, Qt::black);
    }
    return glyph;
}

} // namespace tess::workspace
