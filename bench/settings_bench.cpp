// Times one read and one write of the workspace settings on large settings files: 10 MB of line
// breaks, and 10 MB of foreign keys in the workspace's own section. Prints one line per file and
// step, and the peak memory of the process at the end.
#include "platform/SystemFileSystem.h"
#include "workspace/Settings.h"

#include "PeakMemory.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("tess-settings-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::size_t size = 10 * 1024 * 1024;
    std::string keys = "[Tessaluma]\r\n";
    for (int i = 0; keys.size() < size; ++i)
        keys += "Chiave" + std::to_string(i) + "=valore\r\n";
    const std::pair<const char*, std::string> files[] = {
        {"line-breaks", std::string(size, '\n')},
        {"foreign-keys", keys},
    };
    tess::platform::SystemFileSystem fileSystem;
    for (const auto& [name, contents] : files) {
        const fs::path host = folder / "Tessaluma.ini";
        std::ofstream(host, std::ios::binary) << contents;
        const std::string ini = tess::platform::SystemFileSystem::windowsPath(host.string());
        auto start = std::chrono::steady_clock::now();
        tess::workspace::Settings settings = tess::workspace::readSettings(fileSystem, ini);
        std::printf("%-13s %5.1f MB read  %.3f s\n", name, contents.size() / 1048576.0,
                    secondsSince(start));
        settings.texts[tess::workspace::LFotoRidotte] = "1024";
        start = std::chrono::steady_clock::now();
        tess::workspace::writeSettings(fileSystem, ini, settings);
        std::printf("%-13s %5.1f MB write %.3f s\n", name, contents.size() / 1048576.0,
                    secondsSince(start));
    }
    fs::remove_all(folder);
    std::printf("peak memory %.0f MB\n", tess::bench::peakMemoryMb());
    return 0;
}
