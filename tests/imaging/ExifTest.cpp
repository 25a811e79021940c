#include "imaging/Exif.h"

#include <gtest/gtest.h>

#include <string>

namespace tess::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A JPEG-like byte string: SOI, the given segments (marker, payload), then a scan header.
Bytes jpegWith(const std::vector<std::pair<std::uint8_t, Bytes>>& segments) {
    Bytes data{0xFF, 0xD8};
    for (const auto& [marker, payload] : segments) {
        const std::size_t length = payload.size() + 2;
        data.insert(data.end(), {0xFF, marker, std::uint8_t(length >> 8), std::uint8_t(length)});
        data.insert(data.end(), payload.begin(), payload.end());
    }
    data.insert(data.end(), {0xFF, 0xDA, 0x00, 0x08, 1, 1, 0, 0, 63, 0});
    return data;
}

Bytes exifHeader() {
    return {'E', 'x', 'i', 'f', 0, 0};
}

// A little-endian Exif block with the given IFD0 entries (tag, type, count, value).
struct Entry {
    std::uint16_t tag, type;
    std::uint32_t count, value;
};
Bytes littleEndianExif(const std::vector<Entry>& entries, std::uint32_t ifdOffset = 8,
                       std::uint16_t declaredCount = 0xFFFF) {
    Bytes out = exifHeader();
    const auto put16 = [&](unsigned v) {
        out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    };
    const auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    out.push_back('I');
    out.push_back('I');
    put16(42);
    put32(ifdOffset);
    put16(declaredCount == 0xFFFF ? entries.size() : declaredCount);
    for (const Entry& e : entries) {
        put16(e.tag);
        put16(e.type);
        put32(e.count);
        put32(e.value);
    }
    put32(0);
    return out;
}

TEST(ExifOrientation, RoundTripsEveryValue) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        EXPECT_EQ(readExifOrientation(jpegWith({{0xE1, makeOrientationExif(orientation)}})),
                  orientation);
    }
}

TEST(ExifOrientation, BlockHoldsOnlyTheOrientation) {
    const Bytes block = makeOrientationExif(6);
    // Header, TIFF header, one 12-byte entry with its count, the next-IFD offset.
    EXPECT_EQ(block.size(), 6u + 8u + 2u + 12u + 4u);
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 6), exifHeader());
}

TEST(ExifOrientation, FoundInEitherByteOrderAndAmongOtherSegments) {
    const Bytes xmp{'h', 't', 't', 'p', ':', '/', '/', 'n', 's', 0, '<', 'x', '/', '>'};
    const Bytes app0{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    const Bytes little = littleEndianExif({{0x010F, 2, 4, 0x00414243}, {0x0112, 3, 1, 3}});
    EXPECT_EQ(readExifOrientation(jpegWith({{0xE1, little}})), 3);
    EXPECT_EQ(readExifOrientation(jpegWith({{0xE0, app0}, {0xE1, xmp}, {0xE1, little}})), 3);
    EXPECT_EQ(readExifOrientation(jpegWith({{0xE1, littleEndianExif({{0x0112, 3, 1, 8}})}})), 8);
}

TEST(ExifOrientation, MissingOrMalformedGivesZero) {
    struct Row {
        const char* name;
        Bytes data;
    };
    Bytes badOrder = makeOrientationExif(6);
    badOrder[6] = 'X';
    Bytes badMagic = makeOrientationExif(6);
    badMagic[9] = 43;
    Bytes afterScan = jpegWith({});
    const Bytes late = makeOrientationExif(6);
    afterScan.insert(afterScan.end(), {0xFF, 0xE1, 0x00, std::uint8_t(late.size() + 2)});
    afterScan.insert(afterScan.end(), late.begin(), late.end());
    Bytes lengthTooShort{0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01};
    const Bytes tooLong = makeOrientationExif(6);
    lengthTooShort.insert(lengthTooShort.end(), tooLong.begin(), tooLong.end());
    const Row rows[] = {
        {"empty", {}},
        {"not a JPEG", {'G', 'I', 'F', '8', '9', 'a'}},
        {"no Exif", jpegWith({{0xE0, {'J', 'F', 'I', 'F', 0}}})},
        {"orientation 9", jpegWith({{0xE1, littleEndianExif({{0x0112, 3, 1, 9}})}})},
        {"orientation 0", jpegWith({{0xE1, littleEndianExif({{0x0112, 3, 1, 0}})}})},
        {"stored as LONG", jpegWith({{0xE1, littleEndianExif({{0x0112, 4, 1, 6}})}})},
        {"count 0", jpegWith({{0xE1, littleEndianExif({{0x0112, 3, 0, 6}})}})},
        {"IFD far away", jpegWith({{0xE1, littleEndianExif({{0x0112, 3, 1, 6}}, 0xFFFFFFF0)}})},
        {"IFD at the end", jpegWith({{0xE1, littleEndianExif({{0x0112, 3, 1, 6}}, 30)}})},
        {"entries beyond the block",
         jpegWith({{0xE1, littleEndianExif({{0x010F, 2, 4, 0}}, 8, 60000)}})},
        {"byte order", jpegWith({{0xE1, badOrder}})},
        {"TIFF magic", jpegWith({{0xE1, badMagic}})},
        {"after the scan", afterScan},
        {"segment length below 2", lengthTooShort},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(readExifOrientation(row.data), 0) << row.name;
    }
}

TEST(ExifOrientation, EveryTruncationIsReadSafely) {
    // Run under a memory checker this also proves no read past the end.
    const Bytes whole = jpegWith({{0xE1, makeOrientationExif(5)}});
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        const Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(length));
        const int orientation = readExifOrientation(cut);
        EXPECT_TRUE(orientation == 0 || orientation == 5) << length;
    }
    EXPECT_EQ(readExifOrientation(whole), 5);
}

} // namespace
} // namespace tess::imaging
