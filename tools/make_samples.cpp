// Writes sample photos: real JPEG files of this program's own making, for the demo and the
// benchmarks.
//
//   tessaluma-samples DIR [--big]
//       A few small photo-like JPEGs for trying the program: IMG_0001.JPG (640 x 480),
//       IMG_0002.JPG (480 x 640, portrait), IMG_0003.JPG (grey-scale), IMG_0004.JPG
//       (progressive), IMG_0005.JPG (taken with the camera turned: Exif orientation 6) and
//       note.txt, which is not a photo. With --big also IMG_0101.JPG (4000 x 3000) and
//       IMG_0102.JPG (3000 x 4000), to see the previews shrink large photos.
//
//   tessaluma-samples --workload DIR
//       The conversion benchmark's photos, 12 megapixels each at quality 90, with grain and
//       gradients so they compress like camera photos: BENCH_01.JPG to BENCH_16.JPG
//       (4000 x 3000), PROG_01.JPG to PROG_04.JPG (progressive, 4000 x 3000) and
//       PORT_01.JPG, PORT_02.JPG (3000 x 4000).
//
// The same arguments always give the same bytes. DIR is created when missing.

#include "imaging/Jpeg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using tess::imaging::Bytes;
using tess::imaging::GreyImage;
using tess::imaging::RgbImage;

// A small fixed generator, so the files do not depend on the standard library's.
class Grain {
public:
    explicit Grain(std::uint32_t seed) : m_state(seed * 2654435761u + 1) {}
    // A value in -amplitude .. amplitude.
    int next(int amplitude) {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return amplitude == 0 ? 0 : int(m_state % std::uint32_t(2 * amplitude + 1)) - amplitude;
    }

private:
    std::uint32_t m_state;
};

struct Scene {
    int width;
    int height;
    std::uint32_t seed;
    int grain;      // amplitude of the per-pixel noise
    double sunX;    // 0..1 across
    double hills;   // height of the hills, 0..1 of the picture
    double evening; // 0 midday blue .. 1 sunset orange
};

std::uint8_t clampByte(double value) {
    return std::uint8_t(std::clamp(value, 0.0, 255.0));
}

// A landscape: a sky fading to the horizon, a sun, rolling hills with stripes of fields and
// a little grain everywhere.
RgbImage paint(const Scene& scene) {
    RgbImage image(scene.width, scene.height);
    Grain grain(scene.seed);
    const double w = scene.width;
    const double h = scene.height;
    const double sunX = scene.sunX * w;
    const double sunY = 0.3 * h;
    const double sunRadius = 0.06 * std::min(w, h);
    std::vector<double> horizon(std::size_t(scene.width));
    for (int x = 0; x < scene.width; ++x) {
        const double t = x / w;
        horizon[x] = h * (0.62 - scene.hills * (0.5 * std::sin(6.1 * t + scene.seed) +
                                                0.3 * std::sin(17.3 * t + 2 * scene.seed) +
                                                0.1 * std::sin(53.0 * t)));
    }
    for (int y = 0; y < scene.height; ++y) {
        std::uint8_t* row = &image.pixels[3 * std::size_t(y) * scene.width];
        for (int x = 0; x < scene.width; ++x) {
            double r, g, b;
            if (y < horizon[x]) {
                const double t = y / h;
                r = 60 + 150 * scene.evening + 90 * t;
                g = 120 + 40 * t - 30 * scene.evening;
                b = 230 - 120 * scene.evening - 60 * t;
                const double dx = x - sunX;
                const double dy = y - sunY;
                const double d = std::sqrt(dx * dx + dy * dy);
                if (d < sunRadius) {
                    r = 255;
                    g = 240 - 60 * scene.evening;
                    b = 180 - 120 * scene.evening;
                } else if (d < 3 * sunRadius) {
                    const double glow = 1 - (d - sunRadius) / (2 * sunRadius);
                    r += 60 * glow;
                    g += 40 * glow;
                }
            } else {
                const double depth = (y - horizon[x]) / (h - horizon[x] + 1);
                const double field = std::sin(0.05 * x + 40 * depth * depth) > 0 ? 1.0 : 0.82;
                r = (50 + 60 * depth + 60 * scene.evening) * field;
                g = (110 + 60 * depth) * field;
                b = (40 + 20 * depth) * field;
            }
            const int noise = grain.next(scene.grain);
            row[3 * x] = clampByte(r + noise);
            row[3 * x + 1] = clampByte(g + noise + grain.next(scene.grain / 2));
            row[3 * x + 2] = clampByte(b + noise);
        }
    }
    return image;
}

GreyImage toGrey(const RgbImage& colour) {
    GreyImage grey(colour.width, colour.height);
    for (std::size_t i = 0; i < grey.levels.size(); ++i) {
        const std::uint8_t* p = &colour.pixels[3 * i];
        grey.levels[i] = std::uint8_t((299 * p[0] + 587 * p[1] + 114 * p[2]) / 1000);
    }
    return grey;
}

void save(const std::filesystem::path& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
    std::printf("%s (%zu bytes)\n", path.string().c_str(), data.size());
}

void writeDemo(const std::filesystem::path& dir, bool big) {
    using tess::imaging::encodeGreyJpeg;
    using tess::imaging::encodeJpeg;
    save(dir / "IMG_0001.JPG", encodeJpeg(paint({640, 480, 1, 2, 0.7, 0.08, 0.1}), 85, false));
    save(dir / "IMG_0002.JPG", encodeJpeg(paint({480, 640, 2, 2, 0.3, 0.12, 0.4}), 85, false));
    save(dir / "IMG_0003.JPG",
         encodeGreyJpeg(toGrey(paint({640, 480, 3, 2, 0.5, 0.1, 0.0})), 85, false));
    save(dir / "IMG_0004.JPG", encodeJpeg(paint({800, 600, 4, 2, 0.2, 0.06, 0.9}), 85, true));
    save(dir / "IMG_0005.JPG", encodeJpeg(paint({640, 480, 5, 2, 0.8, 0.15, 0.6}), 85, false, 6));
    std::ofstream(dir / "note.txt") << "Photos of the trip. Not a photo itself.\n";
    std::printf("%s\n", (dir / "note.txt").string().c_str());
    if (big) {
        save(dir / "IMG_0101.JPG",
             encodeJpeg(paint({4000, 3000, 101, 3, 0.6, 0.1, 0.3}), 85, false));
        save(dir / "IMG_0102.JPG",
             encodeJpeg(paint({3000, 4000, 102, 3, 0.4, 0.1, 0.7}), 85, false));
    }
}

void writeWorkload(const std::filesystem::path& dir) {
    char name[32];
    for (int i = 1; i <= 16; ++i) {
        std::snprintf(name, sizeof name, "BENCH_%02d.JPG", i);
        const Scene scene{4000,    3000, std::uint32_t(i), 10, 0.1 + 0.05 * i, 0.05 + 0.01 * i,
                          i / 16.0};
        save(dir / name, tess::imaging::encodeJpeg(paint(scene), 90, false));
    }
    for (int i = 1; i <= 4; ++i) {
        std::snprintf(name, sizeof name, "PROG_%02d.JPG", i);
        const Scene scene{4000, 3000, std::uint32_t(100 + i), 10, 0.2 * i, 0.1, 0.25 * i};
        save(dir / name, tess::imaging::encodeJpeg(paint(scene), 90, true));
    }
    for (int i = 1; i <= 2; ++i) {
        std::snprintf(name, sizeof name, "PORT_%02d.JPG", i);
        const Scene scene{3000, 4000, std::uint32_t(200 + i), 10, 0.3 * i, 0.12, 0.5};
        save(dir / name, tess::imaging::encodeJpeg(paint(scene), 90, false));
    }
}

int usage() {
    std::fprintf(stderr, "usage: tessaluma-samples DIR [--big]\n"
                         "       tessaluma-samples --workload DIR\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == "--workload") {
            std::filesystem::create_directories(args[1]);
            writeWorkload(args[1]);
        } else if (args.size() == 1 || (args.size() == 2 && args[1] == "--big")) {
            if (args[0].rfind("--", 0) == 0) {
                return usage();
            }
            std::filesystem::create_directories(args[0]);
            writeDemo(args[0], args.size() == 2);
        } else {
            return usage();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessaluma-samples: %s\n", error.what());
        return 1;
    }
    return 0;
}
