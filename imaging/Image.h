#pragma once

#include <cstdint>
#include <vector>

namespace tess::imaging {

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// 24-bit RGB pixels, rows top to bottom, no padding: pixel (x, y) starts at 3 * (y * width + x).
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    RgbImage() = default;
    // A white image of the given size.
    RgbImage(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h * 3, 0xFF) {}
};

// 8-bit grey levels, rows top to bottom, no padding.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> levels;

    GreyImage() = default;
    // A white image of the given size.
    GreyImage(int w, int h) : width(w), height(h), levels(std::size_t(w) * h, 0xFF) {}
};

} // namespace tess::imaging
