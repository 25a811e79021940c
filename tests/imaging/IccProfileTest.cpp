#include "JpegTestSupport.h"

#include "imaging/IccProfile.h"
#include "imaging/Jpeg.h"

#include <gtest/gtest.h>

namespace tess::imaging {
namespace {

using test::iccChunk;

Bytes part(const Bytes& profile, std::size_t from, std::size_t to) {
    return Bytes(profile.begin() + std::ptrdiff_t(from), profile.begin() + std::ptrdiff_t(to));
}

TEST(IccProfile, ChunkSetsThatDoNotMakeAProfileAreDropped) {
    const Bytes profile = test::fakeIccProfile(3000, "RGB ");
    const Bytes a = part(profile, 0, 1000), b = part(profile, 1000, 2000),
                c = part(profile, 2000, 3000);
    const Bytes plain = encodeJpeg(test::quadrants(16, 16), 80, false);
    const Bytes other{'F', 'P', 'X', 'R', 0, 1, 2};
    struct Row {
        const char* name;
        std::vector<std::pair<std::uint8_t, Bytes>> segments;
        bool kept;
    };
    const Row rows[] = {
        {"out of order, other APP2 between",
         {{0xE2, iccChunk(3, 3, c)},
          {0xE2, other},
          {0xE2, iccChunk(1, 3, a)},
          {0xE2, iccChunk(2, 3, b)}},
         true},
        {"chunk missing", {{0xE2, iccChunk(1, 3, a)}, {0xE2, iccChunk(3, 3, c)}}, false},
        {"chunk repeated",
         {{0xE2, iccChunk(1, 3, a)},
          {0xE2, iccChunk(1, 3, a)},
          {0xE2, iccChunk(2, 3, b)},
          {0xE2, iccChunk(3, 3, c)}},
         false},
        {"counts disagree",
         {{0xE2, iccChunk(1, 3, a)}, {0xE2, iccChunk(2, 4, b)}, {0xE2, iccChunk(3, 3, c)}},
         false},
        {"sequence 0", {{0xE2, iccChunk(0, 1, profile)}}, false},
        {"count 0", {{0xE2, iccChunk(1, 0, profile)}}, false},
        {"size field disagrees", {{0xE2, iccChunk(1, 1, part(profile, 0, 2999))}}, false},
        {"header only",
         {{0xE2, Bytes{'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0}}},
         false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(readIccProfile(test::withSegments(plain, row.segments)),
                  row.kept ? profile : Bytes{})
            << row.name;
    }
    // A file cut inside its only chunk.
    const Bytes whole = test::withSegments(plain, {{0xE2, iccChunk(1, 1, profile)}});
    EXPECT_EQ(readIccProfile(whole), profile);
    EXPECT_TRUE(readIccProfile(part(whole, 0, 2000)).empty());
}

} // namespace
} // namespace tess::imaging
