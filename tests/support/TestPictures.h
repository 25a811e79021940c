#pragma once

#include "imaging/Image.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tess::test {

// A picture whose pixel (x, y) takes the red, green and blue that `colour(x, y)` gives, each
// clamped to 0..255. The tests' photos are all painted this way.
template <class Colour> imaging::RgbImage paintPicture(int width, int height, Colour colour) {
    imaging::RgbImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::array<int, 3> rgb = colour(x, y);
            std::uint8_t* p = &image.pixels[3 * (std::size_t(y) * width + x)];
            for (int i = 0; i < 3; ++i)
                p[i] = std::uint8_t(std::clamp(rgb[i], 0, 255));
        }
    }
    return image;
}

} // namespace tess::test
