#include "imaging/PointSampler.h"

#include "imaging/CmykColour.h"

#include <algorithm>
#include <cstring>

namespace tess::imaging::detail {
namespace {

// Each pixel moves as one 4-byte word whose fourth byte is overwritten by the next pixel;
// the last pixel of the row goes byte by byte. The source rows are padded for the word read.
void sampleColourRow(const std::uint8_t* source, const std::uint32_t* offsets, int width,
                     std::uint8_t* out) {
    const int last = width - 1;
    for (int x = 0; x < last; ++x) {
        std::uint32_t word;
        std::memcpy(&word, source + offsets[x], 4);
        std::memcpy(out, &word, 4);
        out += 3;
    }
    const std::uint8_t* pixel = source + offsets[last];
    out[0] = pixel[0];
    out[1] = pixel[1];
    out[2] = pixel[2];
}

void sampleGreyRow(const std::uint8_t* source, const std::uint32_t* offsets, int width,
                   const std::uint8_t* levels, std::uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        const std::uint8_t level = levels[source[offsets[x]]];
        out[0] = level;
        out[1] = level;
        out[2] = level;
        out += 3;
    }
}

} // namespace

PointSampler::PointSampler(const std::vector<Size>& sizes, int sourceWidth, int sourceHeight,
                           int components)
    : m_offsets(sizes.size()), m_sourceHeight(sourceHeight), m_components(components) {
    m_images.reserve(sizes.size());
    for (std::size_t t = 0; t < sizes.size(); ++t) {
        const int width = std::max(sizes[t].width, 0);
        const int height = std::max(sizes[t].height, 0);
        m_images.emplace_back(width, height);
        if (width == 0 || height == 0) {
            continue; // nothing to draw on
        }
        m_offsets[t].resize(std::size_t(width));
        for (int x = 0; x < width; ++x) {
            m_offsets[t][x] = std::uint32_t(sampledSource(x, sourceWidth, width) * components);
        }
        m_targets.push_back({m_images.back().pixels.data(), width, height, m_offsets[t].data(), 0,
                             sampledSource(0, sourceHeight, height)});
    }
}

bool PointSampler::takes(std::int64_t y) const {
    return std::any_of(m_targets.begin(), m_targets.end(), [y](const Target& target) {
        return target.nextRow < target.height && target.nextSource == y;
    });
}

void PointSampler::take(std::int64_t y, const std::uint8_t* row, const std::uint8_t* greyLevels) {
    for (Target& target : m_targets) {
        const std::size_t stride = std::size_t(target.width) * 3;
        bool first = true;
        while (target.nextRow < target.height && target.nextSource == y) {
            std::uint8_t* out = target.pixels + stride * target.nextRow;
            if (!first) {
                // An enlarged photo repeats the row it has just drawn.
                std::memcpy(out, out - stride, stride);
            } else if (greyLevels != nullptr) {
                sampleGreyRow(row, target.sourceOffsets, target.width, greyLevels, out);
            } else {
                sampleColourRow(row, target.sourceOffsets, target.width, out);
            }
            first = false;
            ++target.nextRow;
            target.nextSource = sampledSource(target.nextRow, m_sourceHeight, target.height);
        }
    }
}

std::vector<std::uint32_t> PointSampler::takenColumns() const {
    std::vector<std::uint32_t> columns;
    for (const auto& targetOffsets : m_offsets) {
        for (const std::uint32_t offset : targetOffsets) {
            columns.push_back(offset / std::uint32_t(m_components));
        }
    }
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    return columns;
}

CmykRows::CmykRows(const CmykToRgb& converter, std::vector<std::uint32_t> columns, int sourceWidth)
    : m_converter(converter), m_columns(std::move(columns)), m_cmyk(m_columns.size() * 4),
      m_rgb(m_columns.size() * 3), m_row(std::size_t(sourceWidth) * 3 + kRowPadding) {}

const std::uint8_t* CmykRows::convert(const std::uint8_t* cmykRow) {
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        std::memcpy(m_cmyk.data() + 4 * i, cmykRow + 4 * std::size_t(m_columns[i]), 4);
    }
    m_converter.convertRow(m_cmyk.data(), m_rgb.data(), int(m_columns.size()));
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        std::memcpy(m_row.data() + 3 * std::size_t(m_columns[i]), m_rgb.data() + 3 * i, 3);
    }
    return m_row.data();
}

} // namespace tess::imaging::detail
