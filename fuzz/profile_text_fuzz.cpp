// The settings text reader and writer: arbitrary bytes as a settings file, a key and a value
// set in it; the value reads back as written and every other key reads as before.
// Input: key NUL value NUL file text.

#include "FuzzSupport.h"
#include "platform/ProfileText.h"
#include "platform/WindowsPath.h"

#include <optional>
#include <string>

using namespace tess::platform;

namespace {

constexpr std::string_view kSection = "Tessaluma";
constexpr std::string_view kOtherSection = "Altro";
constexpr std::string_view kKeys[] = {
    "PercorsoFotoOriginali",
    "PercorsoFotoRidotte",
    "PercorsoFotoThumbs",
    "LFotoRidotte",
    "AFotoRidotte",
    "CFotoRidotte",
    "LFotoThumbs",
    "AFotoThumbs",
    "CFotoThumbs",
    "AnteprimaOriginali",
    "a",
    "A b",
};

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = tess::fuzz::splitFields(data, size, 3);
    const std::string_view key = fields[0];
    const std::string_view value = fields[1];
    const std::string_view text = fields[2];

    const std::optional<std::string> updated = setProfileValue(text, kSection, key, value);
    if (!updated) {
        // Only what could not be read back is refused.
        const std::string_view name = trimmed(key);
        FUZZ_CHECK(value.find_first_of("\r\n") != std::string_view::npos || name.empty() ||
                   name.find_first_of("\r\n=") != std::string_view::npos || name[0] == ';' ||
                   name[0] == '[');
        return 0;
    }
    FUZZ_CHECK(findProfileValue(*updated, kSection, key) == cutProfileValue(value));
    for (const std::string_view other : kKeys) {
        for (const std::string_view section : {kSection, kOtherSection}) {
            if (section == kSection && sameNameIgnoringCase(other, trimmed(key))) {
                continue;
            }
            FUZZ_CHECK(findProfileValue(*updated, section, other) ==
                       findProfileValue(text, section, other));
        }
    }
    return 0;
}
