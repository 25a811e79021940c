#include "imaging/Exif.h"

#include "imaging/JpegSegments.h"

#include <cstring>
#include <iterator>

namespace tess::imaging {

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3;
constexpr char kExifHeader[] = {'E', 'x', 'i', 'f', '\0', '\0'};

// Reads the TIFF structure of an Exif block with every offset checked against its length:
// the data comes from any file at all.
class TiffReader {
public:
    TiffReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool readByteOrder() {
        if (m_size < 8) {
            return false;
        }
        if (m_data[0] == 'I' && m_data[1] == 'I') {
            m_bigEndian = false;
        } else if (m_data[0] == 'M' && m_data[1] == 'M') {
            m_bigEndian = true;
        } else {
            return false;
        }
        return read16(2) == 42;
    }

    bool fits(std::size_t offset, std::size_t length) const {
        return offset <= m_size && m_size - offset >= length;
    }

    std::uint16_t read16(std::size_t offset) const {
        const std::uint8_t* p = m_data + offset;
        return m_bigEndian ? std::uint16_t(p[0] << 8 | p[1]) : std::uint16_t(p[1] << 8 | p[0]);
    }

    std::uint32_t read32(std::size_t offset) const {
        const std::uint32_t high = read16(offset);
        const std::uint32_t low = read16(offset + 2);
        return m_bigEndian ? (high << 16 | low) : (low << 16 | high);
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_bigEndian = false;
};

int orientationFromTiff(const std::uint8_t* data, std::size_t size) {
    TiffReader tiff(data, size);
    if (!tiff.readByteOrder()) {
        return 0;
    }
    const std::size_t directory = tiff.read32(4);
    if (!tiff.fits(directory, 2)) {
        return 0;
    }
    const std::size_t entryCount = tiff.read16(directory);
    for (std::size_t i = 0; i < entryCount; ++i) {
        const std::size_t entry = directory + 2 + 12 * i;
        if (!tiff.fits(entry, 12)) {
            return 0;
        }
        if (tiff.read16(entry) != kOrientationTag) {
            continue;
        }
        if (tiff.read16(entry + 2) != kTypeShort || tiff.read32(entry + 4) < 1) {
            return 0;
        }
        // A single SHORT sits left-aligned in the value field.
        const int value = tiff.read16(entry + 8);
        return value >= 1 && value <= 8 ? value : 0;
    }
    return 0;
}

void put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(std::uint8_t(value >> 8));
    out.push_back(std::uint8_t(value));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

} // namespace

int readExifOrientation(const std::vector<std::uint8_t>& jpeg) {
    // The Exif block is one of the APP1 segments (another APP1 may hold XMP, so keep looking
    // past it).
    int orientation = 0;
    forEachJpegSegment(jpeg, [&orientation](const JpegSegment& segment) {
        if (segment.marker == 0xE1 && segment.size >= sizeof kExifHeader &&
            std::memcmp(segment.payload, kExifHeader, sizeof kExifHeader) == 0) {
            orientation = orientationFromTiff(segment.payload + sizeof kExifHeader,
                                              segment.size - sizeof kExifHeader);
        }
        return orientation == 0;
    });
    return orientation;
}

std::vector<std::uint8_t> makeOrientationExif(int orientation) {
    std::vector<std::uint8_t> out(std::begin(kExifHeader), std::end(kExifHeader));
    out.push_back('M'); // big-endian (Motorola) byte order
    out.push_back('M');
    put16(out, 42);
    put32(out, 8); // IFD0 right after the header
    put16(out, 1); // one entry
    put16(out, kOrientationTag);
    put16(out, kTypeShort);
    put32(out, 1);
    put16(out, std::uint16_t(orientation));
    put16(out, 0); // padding of the 4-byte value field
    put32(out, 0); // no next IFD
    return out;
}

} // namespace tess::imaging
