#include "imaging/CmykColour.h"

#include "imaging/IccProfile.h"

#include <lcms2.h>

#include <list>
#include <mutex>
#include <utility>

namespace tess::imaging {

namespace {

using Transform = std::shared_ptr<void>;

// A transform from the profile's CMYK to sRGB, or null when the profile cannot serve. It is
// made without Little CMS's cache of the last pixel, which every conversion would write:
// without it one transform serves several threads at once.
Transform makeTransform(const std::vector<std::uint8_t>& iccProfile) {
    cmsHPROFILE source =
        cmsOpenProfileFromMem(iccProfile.data(), cmsUInt32Number(iccProfile.size()));
    if (source == nullptr) {
        return nullptr;
    }
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = nullptr;
    if (srgb != nullptr) {
        // The _REV layout reads the stored values as inverted ink.
        transform = cmsCreateTransform(source, TYPE_CMYK_8_REV, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL,
                                       cmsFLAGS_NOCACHE);
        cmsCloseProfile(srgb);
    }
    cmsCloseProfile(source);
    if (transform == nullptr) {
        return nullptr;
    }
    return Transform(transform, [](void* t) { cmsDeleteTransform(static_cast<cmsHTRANSFORM>(t)); });
}

// Making a transform takes longer than decoding a preview (about 0.1 s), and the photos of
// one print workflow share their profile, so the last few transforms are kept.
Transform profileTransform(const std::vector<std::uint8_t>& iccProfile) {
    constexpr std::size_t kKept = 4;
    static std::mutex mutex;
    static std::list<std::pair<std::vector<std::uint8_t>, Transform>> kept; // newest first

    if (iccColourSpace(iccProfile) != "CMYK") {
        return nullptr;
    }
    {
        const std::lock_guard lock(mutex);
        for (auto it = kept.begin(); it != kept.end(); ++it) {
            if (it->first == iccProfile) {
                kept.splice(kept.begin(), kept, it);
                return it->second;
            }
        }
    }
    Transform transform = makeTransform(iccProfile);
    if (transform != nullptr) {
        const std::lock_guard lock(mutex);
        kept.emplace_front(iccProfile, transform);
        if (kept.size() > kKept) {
            kept.pop_back();
        }
    }
    return transform;
}

} // namespace

CmykToRgb::CmykToRgb(const std::vector<std::uint8_t>& iccProfile)
    : m_transform(profileTransform(iccProfile)) {}

CmykToRgb::~CmykToRgb() = default;

void CmykToRgb::convertRow(const std::uint8_t* cmyk, std::uint8_t* rgb, int width) const noexcept {
    if (m_transform != nullptr) {
        cmsDoTransform(static_cast<cmsHTRANSFORM>(m_transform.get()), cmyk, rgb,
                       cmsUInt32Number(width));
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
