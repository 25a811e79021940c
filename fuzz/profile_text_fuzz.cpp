// The settings text reader and writer: arbitrary bytes as a settings file, a key and a value
// set in it; the value reads back as written and every other key reads as before.
// Input: key NUL value NUL file text.

#include "FuzzSupport.h"
#include "platform/ProfileText.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

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

std::optional<std::string> valueIn(std::string_view text, std::string_view section,
                                   std::string_view key) {
    return findProfileValues(text, section, {std::string(key)}).front();
}

std::optional<std::string> setValue(std::string_view text, std::string_view key,
                                    std::string_view value) {
    std::vector<std::size_t> refused;
    std::string updated = setProfileValues(
        text, kSection, {ProfileSetting{std::string(key), std::string(value)}}, refused);
    if (!refused.empty()) {
        return std::nullopt;
    }
    return updated;
}

// Whether every key but the one set reads in a file's text as it reads in the old text.
bool othersKept(std::string_view text, std::string_view old, std::string_view key) {
    for (const std::string_view other : kKeys) {
        for (const std::string_view section : {kSection, kOtherSection}) {
            if (section == kSection && sameNameIgnoringCase(other, trimmed(key))) {
                continue;
            }
            if (valueIn(text, section, other) != valueIn(old, section, other)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = tess::fuzz::splitFields(data, size, 3);
    const std::string_view key = fields[0];
    const std::string_view value = fields[1];
    const std::string_view text = fields[2];

    const std::optional<std::string> updated = setValue(text, key, value);
    if (!updated) {
        // Only what could not be read back is refused.
        const std::string_view name = trimmed(key);
        FUZZ_CHECK(value.find_first_of("\r\n") != std::string_view::npos || !isValidUtf8(value) ||
                   name.empty() || name.find_first_of("\r\n=") != std::string_view::npos ||
                   name[0] == ';' || name[0] == '[');
        return 0;
    }
    FUZZ_CHECK(valueIn(*updated, kSection, key) == cutProfileValue(value));
    FUZZ_CHECK(othersKept(*updated, text, key));

    // The same setting written over the file where it lies: after each write the other keys
    // read as before and this one as before or as set, and in the end as set. (A UTF-16 file
    // holds only keys that are text.)
    if (!isValidUtf8(key) &&
        decodeProfileFile(std::string(text)).encoding != ProfileEncoding::Bytes) {
        return 0;
    }
    std::vector<std::size_t> refused;
    const PatchPlan plan = planProfileRewrite(
        text, kSection, {ProfileSetting{std::string(key), std::string(value)}}, refused);
    const std::string before = decodeProfileFile(std::string(text)).text;
    const std::optional<std::string> old = valueIn(before, kSection, key);
    std::string file(text);
    for (const FilePatch& patch : plan.writes) {
        FUZZ_CHECK(patch.offset <= file.size());
        file.resize(std::max(file.size(), patch.offset + patch.bytes.size()));
        file.replace(patch.offset, patch.bytes.size(), patch.bytes);
        const std::string now = decodeProfileFile(file).text;
        FUZZ_CHECK(othersKept(now, before, key));
        const std::optional<std::string> read = valueIn(now, kSection, key);
        FUZZ_CHECK(read == old || read == cutProfileValue(value));
    }
    file.resize(plan.size);
    const std::string after = decodeProfileFile(file).text;
    FUZZ_CHECK(valueIn(after, kSection, key) == cutProfileValue(value));
    FUZZ_CHECK(othersKept(after, before, key));
    return 0;
}
