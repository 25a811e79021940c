#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tess::imaging {

// The largest profile a reduced copy and a thumbnail carry on: 1 MiB. The RGB profiles cameras
// and editors embed take a few KB (a table-based one some hundred KB); larger ones are device
// links or bloated tables that would outweigh the copy itself, and are dropped.
inline constexpr std::size_t kMaxCarriedIccProfile = std::size_t(1) << 20;

// The ICC colour profile a JPEG file carries in its APP2 "ICC_PROFILE" segments, its chunks
// put together in sequence order. Empty when the file has none, and when the set is
// malformed or incomplete (a chunk missing, repeated or cut short, counts that disagree, or
// bytes that do not make a profile): such a profile describes nothing and is dropped. Never
// throws.
std::vector<std::uint8_t> readIccProfile(const std::vector<std::uint8_t>& jpeg);

// The data colour space named in a profile's header ("RGB ", "GRAY", "CMYK" and so on);
// empty when the bytes do not start with an ICC profile header of their own length.
std::string iccColourSpace(const std::vector<std::uint8_t>& profile);

} // namespace tess::imaging
