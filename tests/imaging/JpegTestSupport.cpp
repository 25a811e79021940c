#include "JpegTestSupport.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>
#include <lcms2.h>

namespace tess::imaging::test {

RgbImage quadrants(int width, int height) {
    return tess::test::paintPicture(width, height, [&](int x, int y) {
        const auto& colour = kQuadrantColours[(x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0)];
        return std::array<int, 3>{colour[0], colour[1], colour[2]};
    });
}

int greyCellLevel(int cx, int cy) {
    return 16 * (cx + 4 * cy);
}

GreyImage greyCells() {
    GreyImage image(128, 128);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            image.levels[std::size_t(y) * 128 + x] = std::uint8_t(greyCellLevel(x / 32, y / 32));
        }
    }
    return image;
}

RgbImage gradient(int width, int height) {
    return tess::test::paintPicture(width, height, [&](int x, int y) {
        const int texture = ((x * 7 + y * 13) % 9) - 4;
        return std::array<int, 3>{40 + 180 * x / width + texture, 60 + 150 * y / height + texture,
                                  200 - 120 * (x + y) / (width + height)};
    });
}

namespace {

// The test files are valid, so libjpeg's own error exit (which ends the process) is an
// acceptable answer to a broken one here.
struct Reader {
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    explicit Reader(const Bytes& data) {
        info.err = jpeg_std_error(&error);
        error.output_message = [](j_common_ptr) {}; // a cut file warns; that is expected
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, data.data(), data.size());
        jpeg_read_header(&info, TRUE);
    }
    ~Reader() { jpeg_destroy_decompress(&info); }
};

struct Writer {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    Writer() {
        info.err = jpeg_std_error(&error);
        jpeg_create_compress(&info);
    }
    ~Writer() { jpeg_destroy_compress(&info); }
};

} // namespace

std::array<unsigned, 64> storedLuminanceTable(const Bytes& jpeg) {
    Reader reader(jpeg);
    if (reader.info.quant_tbl_ptrs[0] == nullptr) {
        throw std::runtime_error("no luminance table");
    }
    std::array<unsigned, 64> table{};
    for (int i = 0; i < 64; ++i) {
        table[i] = reader.info.quant_tbl_ptrs[0]->quantval[i];
    }
    return table;
}

std::array<unsigned, 64> luminanceTableForQuality(int quality) {
    Writer writer;
    writer.info.in_color_space = JCS_RGB;
    writer.info.input_components = 3;
    jpeg_set_defaults(&writer.info);
    jpeg_set_quality(&writer.info, quality, TRUE);
    std::array<unsigned, 64> table{};
    for (int i = 0; i < 64; ++i) {
        table[i] = writer.info.quant_tbl_ptrs[0]->quantval[i];
    }
    return table;
}

RgbImage referenceDecode(const Bytes& jpeg, int scaleDenominator, int dctMethod,
                         int greyDitherMode) {
    Reader reader(jpeg);
    jpeg_decompress_struct& info = reader.info;
    info.scale_num = 1;
    info.scale_denom = unsigned(scaleDenominator);
    info.dct_method = J_DCT_METHOD(dctMethod);
    info.do_fancy_upsampling = TRUE;
    info.do_block_smoothing = TRUE;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    if (grey) {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = 236;
        info.two_pass_quantize = FALSE;
        info.dither_mode = J_DITHER_MODE(greyDitherMode);
    } else {
        info.out_color_space = JCS_RGB;
    }
    jpeg_start_decompress(&info);
    RgbImage image(int(info.output_width), int(info.output_height));
    std::vector<std::uint8_t> row(std::size_t(info.output_width) * info.output_components);
    while (info.output_scanline < info.output_height) {
        const std::size_t y = info.output_scanline;
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (std::size_t x = 0; x < info.output_width; ++x) {
            std::uint8_t* out = &image.pixels[3 * (y * info.output_width + x)];
            for (int c = 0; c < 3; ++c) {
                out[c] = grey ? info.colormap[0][row[x]] : row[3 * x + c];
            }
        }
    }
    jpeg_finish_decompress(&info);
    return image;
}

Bytes headerOnlyJpeg(int width, int height, bool progressive) {
    const auto high = [](int value) { return std::uint8_t(value >> 8); };
    const auto low = [](int value) { return std::uint8_t(value); };
    const std::uint8_t frameMarker = progressive ? 0xC2 : 0xC0;
    const std::uint8_t lumaSampling = progressive ? 0x11 : 0x22;
    const std::uint8_t spectralEnd = progressive ? 0 : 63; // a progressive file starts with DC
    Bytes data{0xFF, 0xD8};
    // The frame: 8-bit samples, the size, three components.
    // clang-format off
    const Bytes frame{0xFF, frameMarker, 0, 17, 8, high(height), low(height), high(width),
                      low(width), 3, 1, lumaSampling, 0, 2, 0x11, 1, 3, 0x11, 1};
    // clang-format on
    // The first scan: the three components.
    const Bytes scan{0xFF, 0xDA, 0, 12, 3, 1, 0x00, 2, 0x11, 3, 0x11, 0, spectralEnd, 0};
    data.insert(data.end(), frame.begin(), frame.end());
    data.insert(data.end(), scan.begin(), scan.end());
    return data;
}

Bytes fakeIccProfile(std::size_t size, const char* colourSpace) {
    Bytes profile(size);
    for (std::size_t i = 0; i < size; ++i) {
        profile[i] = std::uint8_t(i * 7 + i / 251);
    }
    for (int i = 0; i < 4; ++i) {
        profile[std::size_t(i)] = std::uint8_t(size >> (24 - 8 * i));
        profile[16 + std::size_t(i)] = std::uint8_t(colourSpace[i]);
        profile[36 + std::size_t(i)] = std::uint8_t("acsp"[i]);
    }
    return profile;
}

Bytes iccChunk(int sequence, int count, const Bytes& data) {
    const char name[] = "ICC_PROFILE";
    Bytes chunk(name, name + sizeof name);
    chunk.push_back(std::uint8_t(sequence));
    chunk.push_back(std::uint8_t(count));
    chunk.insert(chunk.end(), data.begin(), data.end());
    return chunk;
}

Bytes withSegments(const Bytes& jpeg, const std::vector<std::pair<std::uint8_t, Bytes>>& segments) {
    Bytes out(jpeg.begin(), jpeg.begin() + 2);
    for (const auto& [marker, payload] : segments) {
        const std::size_t length = payload.size() + 2;
        out.insert(out.end(), {0xFF, marker, std::uint8_t(length >> 8), std::uint8_t(length)});
        out.insert(out.end(), payload.begin(), payload.end());
    }
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

Bytes encodeCmykJpeg(int width, int height, const std::array<Inks, 4>& quadrantInks, bool ycck,
                     const Bytes& iccProfile, bool textured) {
    Writer writer;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&writer.info, &buffer, &size);
    writer.info.image_width = JDIMENSION(width);
    writer.info.image_height = JDIMENSION(height);
    writer.info.input_components = 4;
    writer.info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&writer.info);
    jpeg_set_colorspace(&writer.info, ycck ? JCS_YCCK : JCS_CMYK); // writes Adobe's marker
    jpeg_set_quality(&writer.info, 95, TRUE);
    jpeg_start_compress(&writer.info, TRUE);
    if (!iccProfile.empty()) {
        jpeg_write_icc_profile(&writer.info, iccProfile.data(), unsigned(iccProfile.size()));
    }
    std::vector<std::uint8_t> row(std::size_t(width) * 4);
    while (writer.info.next_scanline < writer.info.image_height) {
        const int y = int(writer.info.next_scanline);
        for (int x = 0; x < width; ++x) {
            const Inks& inks = quadrantInks[(x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0)];
            for (int c = 0; c < 4; ++c) {
                const int extra = textured && c == 0 ? x * 9 % 72 : 0;
                row[std::size_t(x) * 4 + c] =
                    std::uint8_t(255 - std::min(inks[std::size_t(c)] + extra, 255));
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&writer.info, rows, 1);
    }
    jpeg_finish_compress(&writer.info);
    Bytes data(buffer, buffer + size);
    std::free(buffer);
    return data;
}

namespace {

// The press: cyan ink leans to blue and black is not quite black, so colours through this
// profile differ plainly from the plain formula's.
int pressColour(const cmsUInt16Number in[], cmsUInt16Number out[], void* toLab) {
    const double c = in[0] / 65535.0, m = in[1] / 65535.0, y = in[2] / 65535.0;
    const double paper = 1 - 0.85 * in[3] / 65535.0;
    const double rgb[3] = {(1 - c) * (1 - 0.1 * m) * paper, (1 - 0.6 * c) * (1 - m) * paper,
                           (1 - 0.2 * m) * (1 - y) * paper};
    cmsCIELab lab;
    cmsDoTransform(toLab, rgb, &lab, 1);
    cmsFloat2LabEncoded(out, &lab);
    return TRUE;
}

} // namespace

Bytes cmykTestProfile() {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab =
        cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* grid = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
    cmsStageSampleCLut16bit(grid, pressColour, toLab, 0);
    // Stored as A curves, grid, B curves, the simplest form a version 4 profile takes.
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, grid);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    Bytes bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsPipelineFree(pipeline);
    cmsCloseProfile(profile);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(lab);
    cmsCloseProfile(srgb);
    return bytes;
}

std::string jpegError(int code) {
    return "JPEG error #" + std::to_string(code);
}

// The same file with its last scan repeated until it holds `scans` scans.
Bytes withScans(const Bytes& progressive, int scans) {
    const JpegInfo info = readJpegHeader(progressive);
    EXPECT_TRUE(info.progressive);
    std::size_t lastScan = 0;
    int count = 0;
    for (std::size_t i = 0; i + 1 < progressive.size(); ++i) {
        if (progressive[i] == 0xFF && progressive[i + 1] == 0xDA) {
            lastScan = i;
            ++count;
        }
    }
    const Bytes scan(progressive.begin() + std::ptrdiff_t(lastScan), progressive.end() - 2);
    Bytes result(progressive.begin(), progressive.end() - 2);
    for (; count < scans; ++count) {
        result.insert(result.end(), scan.begin(), scan.end());
    }
    result.insert(result.end(), {0xFF, 0xD9});
    return result;
}

} // namespace tess::imaging::test
