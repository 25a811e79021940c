#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run when a property the target checks does not hold: libFuzzer keeps the input as
// a crash, the replay fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tess::fuzz {

// The input cut into `count` fields at its first count - 1 NUL bytes; the last field is the
// rest, and fields the input runs out before are empty.
inline std::vector<std::string_view> splitFields(const std::uint8_t* data, std::size_t size,
                                                 std::size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const std::size_t cut = rest.find('\0');
        if (cut == std::string_view::npos) {
            break;
        }
        fields.push_back(rest.substr(0, cut));
        rest.remove_prefix(cut + 1);
    }
    fields.push_back(rest);
    fields.resize(count);
    return fields;
}

} // namespace tess::fuzz
