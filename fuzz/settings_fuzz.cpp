// Settings text reader and writer: any bytes parse, a value written reads back, and no other key
// changes. The input's first byte picks the section and key, the second the length of the value
// that follows it; the rest is the file.
#include "platform/ProfileText.h"
#include "platform/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace tess::platform;

const std::vector<std::string> kKeys = {"PercorsoFotoOriginali", "LFotoRidotte", "k", "K2",
                                        "AnteprimaOriginali",    "Città"};
const char* const kSections[] = {"Tessaluma", "A", "Ärger"};

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view section = kSections[(data[0] >> 4) % 3];
    const std::size_t keyIndex = data[0] % kKeys.size();
    const std::size_t valueSize = std::min<std::size_t>(data[1], size - 2);
    // Values come from the window as UTF-8 text.
    const std::string value = textFromBytes(input.substr(2, valueSize));
    const std::string bytes(input.substr(2 + valueSize));

    ProfileFileText file = decodeProfileFile(bytes);
    check(encodeProfileFile(file) == bytes);
    const auto before = findProfileValues(file.text, section, kKeys);

    std::vector<std::size_t> refused;
    const std::string written =
        setProfileValues(file.text, section, {{kKeys[keyIndex], value}}, refused);
    const bool storable = value.find_first_of("\r\n") == std::string::npos;
    check(refused.empty() == storable);

    const auto after = findProfileValues(written, section, kKeys);
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        if (i == keyIndex && storable) {
            check(after[i] == cutProfileValue(value));
        } else {
            check(after[i] == before[i]);
        }
    }
    // Nor does any key of another section change.
    for (const std::string_view other : kSections) {
        if (other != section) {
            check(findProfileValues(written, other, kKeys) ==
                  findProfileValues(file.text, other, kKeys));
        }
    }
    // Writing the same value again changes nothing.
    refused.clear();
    check(setProfileValues(written, section, {{kKeys[keyIndex], value}}, refused) == written);

    // The file's encoding holds the new text.
    const ProfileFileText rewritten{file.encoding, written, file.oddByte};
    const ProfileFileText reread = decodeProfileFile(encodeProfileFile(rewritten));
    check(reread.encoding == file.encoding);
    check(findProfileValues(reread.text, section, kKeys) == after);
    return 0;
}
