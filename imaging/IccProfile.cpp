#include "imaging/IccProfile.h"

#include "imaging/JpegSegments.h"

#include <cstring>

namespace tess::imaging {

namespace {

// Each APP2 chunk starts with this name, then its 1-based sequence number and the number of
// chunks in the set, one byte each.
constexpr char kChunkName[] = "ICC_PROFILE"; // with its terminating zero
constexpr std::size_t kChunkHeader = sizeof kChunkName + 2;

constexpr std::size_t kProfileHeader = 128;
constexpr std::size_t kSignatureOffset = 36; // "acsp"
constexpr std::size_t kColourSpaceOffset = 16;

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

} // namespace

std::vector<std::uint8_t> readIccProfile(const std::vector<std::uint8_t>& jpeg) {
    std::vector<std::vector<std::uint8_t>> chunks; // by sequence number - 1
    std::vector<bool> seen;
    bool malformed = false;
    forEachJpegSegment(jpeg, [&](const JpegSegment& segment) {
        if (segment.marker != 0xE2 || segment.size < sizeof kChunkName ||
            std::memcmp(segment.payload, kChunkName, sizeof kChunkName) != 0) {
            return true; // some other APP2 use, or not APP2 at all
        }
        const std::size_t sequence = segment.size >= kChunkHeader ? segment.payload[12] : 0;
        const std::size_t count = segment.size >= kChunkHeader ? segment.payload[13] : 0;
        if (chunks.empty() && count > 0) {
            chunks.resize(count);
            seen.resize(count);
        }
        if (!segment.complete || count == 0 || count != chunks.size() || sequence < 1 ||
            sequence > count || seen[sequence - 1]) {
            malformed = true;
            return false;
        }
        seen[sequence - 1] = true;
        chunks[sequence - 1].assign(segment.payload + kChunkHeader, segment.payload + segment.size);
        return true;
    });
    std::vector<std::uint8_t> profile;
    if (malformed || chunks.empty()) {
        return profile;
    }
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        if (!seen[i]) {
            return {};
        }
        profile.insert(profile.end(), chunks[i].begin(), chunks[i].end());
    }
    return iccColourSpace(profile).empty() ? std::vector<std::uint8_t>{} : profile;
}

std::string iccColourSpace(const std::vector<std::uint8_t>& profile) {
    if (profile.size() < kProfileHeader || bigEndian32(profile.data()) != profile.size() ||
        std::memcmp(&profile[kSignatureOffset], "acsp", 4) != 0) {
        return {};
    }
    const auto* space = reinterpret_cast<const char*>(&profile[kColourSpaceOffset]);
    return std::string(space, 4);
}

} // namespace tess::imaging
