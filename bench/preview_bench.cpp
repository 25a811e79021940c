// tessaluma-bench-preview FILE...        previews each file as the workspace does and prints
//                                         "FILE: W x H, result, wall s, cpu s, peak MB"
// tessaluma-bench-preview ppm W H OUT     writes a W x H colour picture with a photo's texture
// tessaluma-bench-preview bomb W H OUT [progressive]
//                                         writes a JPEG of a few hundred bytes whose header
//                                         declares W x H pixels
//
// Run one file per process (bench/preview does): the peak memory is the process's.

#include "imaging/Fit.h"
#include "imaging/Jpeg.h"
#include "platform/Error.h"
#include "platform/SystemFileSystem.h"

#include "PeakMemory.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace tess;

// The steps of a preview without its window: read the file (unless it is too big), read the
// header, decode at a quarter and draw it into the view's size.
std::string preview(const std::string& path) {
    platform::SystemFileSystem fs;
    const auto data = fs.readFileUpTo(platform::SystemFileSystem::windowsPath(path),
                                      imaging::kMaxPreviewFileSize);
    if (!data)
        return std::string(imaging::kPreviewTooLarge) + " (file size)";
    const imaging::JpegInfo info = imaging::readJpegHeader(*data);
    const imaging::PreviewFit fit = imaging::previewFit(info.width, info.height);
    imaging::decodeStretched(*data, imaging::DecodeProfile::SpeedFirst, {fit.view});
    return std::to_string(info.width) + " x " + std::to_string(info.height) + " previewed";
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void writePicture(int width, int height, const char* out) {
    std::ofstream file(out, std::ios::binary);
    file << "P6\n" << width << " " << height << "\n255\n";
    std::mt19937 random(7);
    std::vector<char> row(std::size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int noise = int(random() & 15);
            row[3 * x] = char((x * 255 / width + noise) & 255);
            row[3 * x + 1] = char((y * 255 / height + noise) & 255);
            row[3 * x + 2] = char(((x + y) * 127 / (width + height) + 64 + noise) & 255);
        }
        file.write(row.data(), std::streamsize(row.size()));
    }
}

void writeBomb(int width, int height, bool progressive, const char* out) {
    imaging::Bytes data = imaging::encodeJpeg(imaging::RgbImage(16, 16), 50, progressive);
    for (std::size_t i = 0; i + 8 < data.size(); ++i) {
        if (data[i] == 0xFF && (data[i + 1] == 0xC0 || data[i + 1] == 0xC2)) {
            data[i + 5] = std::uint8_t(height >> 8);
            data[i + 6] = std::uint8_t(height);
            data[i + 7] = std::uint8_t(width >> 8);
            data[i + 8] = std::uint8_t(width);
            break;
        }
    }
    std::ofstream(out, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if ((mode == "ppm" || mode == "bomb") && argc >= 5) {
        const int width = std::stoi(argv[2]);
        const int height = std::stoi(argv[3]);
        if (mode == "ppm")
            writePicture(width, height, argv[4]);
        else
            writeBomb(width, height, argc > 5 && std::string(argv[5]) == "progressive", argv[4]);
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        std::string result;
        try {
            result = preview(argv[i]);
        } catch (const std::exception& error) {
            result = error.what();
        }
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s: %s, %.2f s wall, %.2f s cpu, peak %.0f MB\n", argv[i], result.c_str(),
                    wall, cpuSeconds() - cpuStart, tess::bench::peakMemoryMb());
    }
    return 0;
}
