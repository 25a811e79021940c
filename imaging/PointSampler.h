#pragma once

#include "imaging/Image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tess::imaging {
class CmykToRgb;
}

namespace tess::imaging::detail {

// Bytes after the end of a source row, for the sampling's word reads.
inline constexpr std::size_t kRowPadding = 4;

// Point sampling picks, for output pixel d of n, the source pixel under its centre:
// floor((d + 1/2) * size / n), in integers as ((2d + 1) * size) / (2n). Rows and columns are
// dropped or repeated whole, never blended, and 64 bits keep large photos from overflowing.
inline std::int64_t sampledSource(std::int64_t destination, std::int64_t sourceSize,
                                  std::int64_t destinationSize) {
    return ((2 * destination + 1) * sourceSize) / (2 * destinationSize);
}

// The images one decode draws, each point-sampled from the source rows as they stream past
// from top to bottom. Nothing in it throws once it is made, so it can be fed from inside a
// guarded decoding loop.
class PointSampler {
public:
    // One white image per requested size (a side below 1 gives an image with nothing to draw)
    // over a source of the given size, whose rows hold `components` bytes a pixel: 3 for RGB,
    // 1 for the palette indices of a grey photo. The rows handed in must be padded by
    // kRowPadding bytes.
    PointSampler(const std::vector<Size>& sizes, int sourceWidth, int sourceHeight, int components);
    PointSampler(const PointSampler&) = delete;
    PointSampler& operator=(const PointSampler&) = delete;

    // Whether some image still takes source row y.
    bool takes(std::int64_t y) const;
    // Draws source row y into every image that takes it. `greyLevels` turns palette indices
    // into grey levels; null for RGB rows.
    void take(std::int64_t y, const std::uint8_t* row, const std::uint8_t* greyLevels);
    // The source columns some image takes, each once and in order.
    std::vector<std::uint32_t> takenColumns() const;

    std::vector<RgbImage> images() && { return std::move(m_images); }

private:
    struct Target {
        std::uint8_t* pixels;
        int width;
        int height;
        const std::uint32_t* sourceOffsets; // byte offset in a source row, per output column
        int nextRow;                        // next output row to fill
        std::int64_t nextSource;            // the source row it takes
    };

    std::vector<RgbImage> m_images;
    std::vector<std::vector<std::uint32_t>> m_offsets; // per image, per output column
    std::vector<Target> m_targets;                     // the images with something to draw on
    std::int64_t m_sourceHeight;
    int m_components;
};

// CMYK rows on their way to the sampling. Only the columns some output takes are worth the
// colour conversion: they are gathered, converted together and put back in place in an RGB
// row of the source's width. Nothing in it throws once it is made.
class CmykRows {
public:
    CmykRows(const CmykToRgb& converter, std::vector<std::uint32_t> columns, int sourceWidth);
    CmykRows(const CmykRows&) = delete;
    CmykRows& operator=(const CmykRows&) = delete;

    // The RGB row, padded for the sampling, of a CMYK row of the source.
    const std::uint8_t* convert(const std::uint8_t* cmykRow);

private:
    const CmykToRgb& m_converter;
    const std::vector<std::uint32_t> m_columns; // the source columns taken, in order
    std::vector<std::uint8_t> m_cmyk;           // the taken pixels, 4 bytes each
    std::vector<std::uint8_t> m_rgb;            // the same converted, 3 bytes each
    std::vector<std::uint8_t> m_row;            // the RGB row
};

} // namespace tess::imaging::detail
