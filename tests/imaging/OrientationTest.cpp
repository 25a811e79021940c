#include "JpegTestSupport.h"

#include "imaging/Orientation.h"

#include <gtest/gtest.h>

namespace tess::imaging {
namespace {

std::array<std::uint8_t, 3> colourAt(const RgbImage& image, int x, int y) {
    const std::uint8_t* p = &image.pixels[3 * (std::size_t(y) * image.width + x)];
    return {p[0], p[1], p[2]};
}

// Where a viewer shows the stored picture's top-left and top-right corners for each tag.
TEST(Orientation, TurnsAndMirrorsAsViewersShowThePhoto) {
    enum Corner { TopLeft, TopRight, BottomLeft, BottomRight };
    struct Row {
        int orientation;
        Size size;
        Corner storedTopLeft;
        Corner storedTopRight;
    };
    const Row rows[] = {
        {0, {6, 4}, TopLeft, TopRight},       {1, {6, 4}, TopLeft, TopRight},
        {2, {6, 4}, TopRight, TopLeft},       {3, {6, 4}, BottomRight, BottomLeft},
        {4, {6, 4}, BottomLeft, BottomRight}, {5, {4, 6}, TopLeft, BottomLeft},
        {6, {4, 6}, TopRight, BottomRight},   {7, {4, 6}, BottomRight, TopRight},
        {8, {4, 6}, BottomLeft, TopLeft},     {9, {6, 4}, TopLeft, TopRight},
    };
    const RgbImage stored = test::quadrants(6, 4);
    for (const Row& row : rows) {
        const RgbImage upright = turnUpright(stored, row.orientation);
        ASSERT_EQ((Size{upright.width, upright.height}), row.size) << row.orientation;
        EXPECT_EQ(orientedSize({6, 4}, row.orientation), row.size) << row.orientation;
        const auto at = [&](Corner corner) {
            return colourAt(upright, corner % 2 ? row.size.width - 1 : 0,
                            corner / 2 ? row.size.height - 1 : 0);
        };
        EXPECT_EQ(at(row.storedTopLeft), test::kQuadrantColours[0]) << row.orientation;
        EXPECT_EQ(at(row.storedTopRight), test::kQuadrantColours[1]) << row.orientation;
    }
}

} // namespace
} // namespace tess::imaging
