#include "imaging/CmykColour.h"

#include "imaging/IccProfile.h"

#include <lcms2.h>

namespace tess::imaging {

namespace {

// A transform from the profile's CMYK to sRGB, or null when the profile cannot serve.
cmsHTRANSFORM profileTransform(const std::vector<std::uint8_t>& iccProfile) {
    if (iccColourSpace(iccProfile) != "CMYK") {
        return nullptr;
    }
    cmsHPROFILE source =
        cmsOpenProfileFromMem(iccProfile.data(), cmsUInt32Number(iccProfile.size()));
    if (source == nullptr) {
        return nullptr;
    }
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = nullptr;
    if (srgb != nullptr) {
        // The _REV layout reads the stored values as inverted ink.
        transform =
            cmsCreateTransform(source, TYPE_CMYK_8_REV, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
        cmsCloseProfile(srgb);
    }
    cmsCloseProfile(source);
    return transform;
}

} // namespace

CmykToRgb::CmykToRgb(const std::vector<std::uint8_t>& iccProfile)
    : m_transform(profileTransform(iccProfile)) {}

CmykToRgb::~CmykToRgb() {
    if (m_transform != nullptr) {
        cmsDeleteTransform(static_cast<cmsHTRANSFORM>(m_transform));
    }
}

void CmykToRgb::convertRow(const std::uint8_t* cmyk, std::uint8_t* rgb, int width) const noexcept {
    if (m_transform != nullptr) {
        cmsDoTransform(static_cast<cmsHTRANSFORM>(m_transform), cmyk, rgb, cmsUInt32Number(width));
        return;
    }
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = cmyk[3];
        // Rounded to the nearest level: 255 * 255 / 255 stays white.
        rgb[0] = std::uint8_t((cmyk[0] * k + 127) / 255);
        rgb[1] = std::uint8_t((cmyk[1] * k + 127) / 255);
        rgb[2] = std::uint8_t((cmyk[2] * k + 127) / 255);
    }
}

} // namespace tess::imaging
