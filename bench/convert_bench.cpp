// tessaluma-bench-convert ORIGINALS OUTPUT [RUNS]
// tessaluma-bench-convert --memory ORIGINALS OUTPUT WORKERS [BUDGET_MB]
//
// With --memory: converts the .JPG photos once with the given number of workers and memory
// budget (the program's own unless given) and prints "memory_peak_mb X" (the process's peak
// resident memory) and "budget_mb X". Run it in a process of its own for each setting.
//
// Converts every .JPG in the host folder ORIGINALS into OUTPUT/ridotte (800 x 600, quality
// 80) and OUTPUT/thumbs (640 x 480, quality 50) with the conversion command's own pass, RUNS
// times (3 unless given) with a worker per core and RUNS times with one worker, and prints the
// best runs. The last line is "ms_per_photo X" (all cores) for the
// driving script, after "cores N", "one_core_ms_per_photo X", "decode_ms_per_photo X",
// "cpu_ms_per_photo X" (process CPU time) and "memory_ms_per_photo X".
//
// It also converts them on one worker with the files held in memory (read once beforehand,
// outputs kept in memory), which tells the decoding and encoding apart from the disk writes, and
// times a plain full-size float decode of the photos in this process (libjpeg alone, RGB out), the
// floor without a decoder program's start-up and first-touch memory costs.

#include "FakeFileSystem.h"
#include "PeakMemory.h"
#include "platform/SystemFileSystem.h"
#include "workspace/Conversion.h"
#include "workspace/ParallelConversion.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <jpeglib.h>

namespace {

// One full-size decode as djpeg -dct float does it, rows thrown away. The photos are ours,
// so libjpeg's own error exit is good enough here.
void decodeOnly(const std::vector<std::uint8_t>& data) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), data.size());
    jpeg_read_header(&info, TRUE);
    info.dct_method = JDCT_FLOAT;
    jpeg_start_decompress(&info);
    std::vector<std::uint8_t> rows(std::size_t(info.output_width) * info.output_components * 16);
    JSAMPROW pointers[16];
    for (int i = 0; i < 16; ++i) {
        pointers[i] = rows.data() + std::size_t(info.output_width) * info.output_components * i;
    }
    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, pointers, 16);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

std::vector<std::string> photoNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".JPG")
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

int memoryRun(int argc, char** argv) {
    if (argc < 5 || argc > 6) {
        std::fprintf(
            stderr,
            "usage: tessaluma-bench-convert --memory ORIGINALS OUTPUT WORKERS [BUDGET_MB]\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path originals = fs::absolute(argv[2]);
    const fs::path output = fs::absolute(argv[3]);
    const int workers = std::max(1, std::atoi(argv[4]));
    const std::int64_t budget = argc == 6 ? std::int64_t(std::atoll(argv[5])) << 20
                                          : tess::workspace::defaultMemoryBudget();
    fs::create_directories(output / "ridotte");
    fs::create_directories(output / "thumbs");
    using tess::platform::SystemFileSystem;
    std::vector<tess::workspace::ParallelConversion::Row> rows;
    for (const std::string& name : photoNames(originals))
        rows.push_back({name, true});
    SystemFileSystem fileSystem;
    tess::workspace::ParallelConversion pass(
        fileSystem, SystemFileSystem::windowsPath(originals.string()),
        {800, 600, 80, SystemFileSystem::windowsPath((output / "ridotte").string())},
        {640, 480, 50, SystemFileSystem::windowsPath((output / "thumbs").string())}, rows, workers,
        budget);
    const auto start = std::chrono::steady_clock::now();
    const auto outcome = pass.run([](int) {});
    if (outcome.error) {
        std::fprintf(stderr, "conversion failed\n");
        return 1;
    }
    std::printf("%zu photos, %d workers: %.1f s\n", rows.size(), workers,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    std::printf("budget_mb %.0f\n", double(budget) / (1 << 20));
    std::printf("memory_peak_mb %.0f\n", tess::bench::peakMemoryMb());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--memory")
        return memoryRun(argc, argv);
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: tessaluma-bench-convert ORIGINALS OUTPUT [RUNS]\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path originals = fs::absolute(argv[1]);
    const fs::path output = fs::absolute(argv[2]);
    const int runs = argc == 4 ? std::max(1, std::atoi(argv[3])) : 3;

    const std::vector<std::string> names = photoNames(originals);
    if (names.empty()) {
        std::fprintf(stderr, "no .JPG photos in %s\n", originals.string().c_str());
        return 1;
    }
    fs::create_directories(output / "ridotte");
    fs::create_directories(output / "thumbs");

    tess::platform::SystemFileSystem fileSystem;
    const std::string source = tess::platform::SystemFileSystem::windowsPath(originals.string());
    const tess::workspace::OutputSettings reduced{
        800, 600, 80, tess::platform::SystemFileSystem::windowsPath((output / "ridotte").string())};
    const tess::workspace::OutputSettings thumbnail{
        640, 480, 50, tess::platform::SystemFileSystem::windowsPath((output / "thumbs").string())};

    // The pass the window runs, with a given number of workers: best wall and CPU time.
    std::vector<tess::workspace::ParallelConversion::Row> rows;
    for (const std::string& name : names)
        rows.push_back({name, true});
    const auto timePass = [&](int workers, const char* label, double& bestCpu) {
        double best = 0;
        for (int run = 1; run <= runs; ++run) {
            const std::clock_t cpuStart = std::clock();
            const auto start = std::chrono::steady_clock::now();
            tess::workspace::ParallelConversion pass(fileSystem, source, reduced, thumbnail, rows,
                                                     workers);
            const auto outcome = pass.run([](int) {});
            if (outcome.error)
                std::rethrow_exception(outcome.error);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            const double cpuMs = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
            std::printf("%s run %d: %zu photos in %.0f ms (CPU %.0f ms)\n", label, run,
                        names.size(), ms, cpuMs);
            best = run == 1 ? ms : std::min(best, ms);
            bestCpu = run == 1 ? cpuMs : std::min(bestCpu, cpuMs);
        }
        return best;
    };
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    double best = 0;
    double bestCpu = 0;
    double bestOneCore = 0;
    double oneCoreCpu = 0;
    try {
        best = timePass(cores, "all cores", bestCpu);
        bestOneCore = timePass(1, "one core", oneCoreCpu);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "conversion failed: %s\n", error.what());
        return 1;
    }
    // The same conversion with the files in memory.
    tess::test::FakeFileSystem memory;
    for (const std::string& name : names) {
        memory.files[source + "\\" + name] = fileSystem.readFile(source + "\\" + name);
    }
    double bestInMemory = 0;
    for (int run = 1; run <= runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        tess::workspace::ParallelConversion pass(memory, source, reduced, thumbnail, rows, 1);
        const auto outcome = pass.run([](int) {});
        if (outcome.error) {
            std::fprintf(stderr, "conversion in memory failed\n");
            return 1;
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        bestInMemory = run == 1 ? ms : std::min(bestInMemory, ms);
    }
    std::printf("conversion with the files in memory: best of %d runs, %.1f ms/photo\n", runs,
                bestInMemory / double(names.size()));

    double bestDecode = 0;
    for (int run = 1; run <= runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (const auto& file : memory.files) {
            if (file.first.rfind(source, 0) == 0) {
                decodeOnly(file.second);
            }
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        bestDecode = run == 1 ? ms : std::min(bestDecode, ms);
    }
    std::printf("decode alone in this process: best of %d runs, %.1f ms/photo\n", runs,
                bestDecode / double(names.size()));

    const double perPhoto = best / double(names.size());
    std::printf("cores %d\n", cores);
    std::printf("one_core_ms_per_photo %.3f\n", bestOneCore / double(names.size()));
    std::printf("conversion: best of %d runs, %.1f ms/photo, %.2f photos/s\n", runs, perPhoto,
                1000.0 / perPhoto);
    std::printf("decode_ms_per_photo %.3f\n", bestDecode / double(names.size()));
    std::printf("cpu_ms_per_photo %.3f\n", bestCpu / double(names.size()));
    std::printf("memory_ms_per_photo %.3f\n", bestInMemory / double(names.size()));
    std::printf("ms_per_photo %.3f\n", perPhoto);
    return 0;
}
