#include "imaging/Orientation.h"

#include <cstring>

namespace tess::imaging {

namespace {

bool swapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

} // namespace

Size orientedSize(Size stored, int orientation) {
    return swapsSides(orientation) ? Size{stored.height, stored.width} : stored;
}

RgbImage turnUpright(const RgbImage& stored, int orientation) {
    if (orientation < 2 || orientation > 8) {
        return stored;
    }
    const int w = stored.width;
    const int h = stored.height;
    const Size size = orientedSize({w, h}, orientation);
    RgbImage upright(size.width, size.height);
    // For each pixel seen at (x, y), the stored pixel it shows: the tags 5 to 8 swap the axes,
    // then some mirror the stored columns or rows. With tag 6, for instance, the top row seen
    // is the stored left column, read from the bottom up.
    const bool swap = swapsSides(orientation);
    const bool mirrorColumns =
        orientation == 2 || orientation == 3 || orientation == 7 || orientation == 8;
    const bool mirrorRows =
        orientation == 3 || orientation == 4 || orientation == 6 || orientation == 7;
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            int sx = swap ? y : x;
            int sy = swap ? x : y;
            if (mirrorColumns) {
                sx = w - 1 - sx;
            }
            if (mirrorRows) {
                sy = h - 1 - sy;
            }
            std::memcpy(&upright.pixels[3 * (std::size_t(y) * size.width + x)],
                        &stored.pixels[3 * (std::size_t(sy) * w + sx)], 3);
        }
    }
    return upright;
}

} // namespace tess::imaging
