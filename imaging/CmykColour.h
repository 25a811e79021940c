#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace tess::imaging {

// Turns the CMYK rows of a CMYK or YCCK JPEG into sRGB. The decoder hands the values as they
// are stored, and CMYK JPEGs store them inverted (255 is no ink), the way Adobe's programs
// write them; files without Adobe's marker are read the same way, as viewers do.
class CmykToRgb {
public:
    // Through the profile with Little CMS when it is a CMYK ICC profile that opens, with the
    // plain formula (R = C * K / 255 on the inverted values, and so on) otherwise.
    explicit CmykToRgb(const std::vector<std::uint8_t>& iccProfile);
    ~CmykToRgb();
    CmykToRgb(const CmykToRgb&) = delete;
    CmykToRgb& operator=(const CmykToRgb&) = delete;

    // Converts `width` pixels of 4 bytes into `width` pixels of 3. Never throws.
    void convertRow(const std::uint8_t* cmyk, std::uint8_t* rgb, int width) const noexcept;

    bool usesProfile() const { return m_transform != nullptr; }

private:
    std::shared_ptr<void> m_transform; // a Little CMS transform, perhaps shared with others
};

} // namespace tess::imaging
