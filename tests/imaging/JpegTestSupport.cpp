#include "JpegTestSupport.h"

#include "TestPictures.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include <jpeglib.h>

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

std::string jpegError(int code) {
    return "JPEG error #" + std::to_string(code);
}

} // namespace tess::imaging::test
