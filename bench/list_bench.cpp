// tessaluma-bench-list [COUNT]
//
// Times the building of a photo list (CaricaListaFoto over the real file layer) for a folder of
// COUNT (10,000 unless given) ordinary names and for one of COUNT names like "IMG\00001.JPG",
// which a Windows path cannot reach and the list leaves out. Both folders are made under the
// system's temporary folder and removed afterwards. Prints the best of 3 runs for each.

#include "platform/SystemFileSystem.h"
#include "workspace/PhotoList.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

double bestListSeconds(tess::platform::SystemFileSystem& files, const fs::path& folder, int& rows) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        tess::workspace::PhotoTable table;
        const auto start = std::chrono::steady_clock::now();
        tess::workspace::CaricaListaFoto(
            files, tess::platform::SystemFileSystem::windowsPath(folder.string()), table);
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        rows = table.rowCount();
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::stoi(argv[1]) : 10000;
    const fs::path root = fs::temp_directory_path() / "tessaluma-bench-list";
    fs::remove_all(root);
    tess::platform::SystemFileSystem files;
    for (const char* kind : {"ordinary", "backslash"}) {
        const fs::path folder = root / kind;
        fs::create_directories(folder);
        for (int i = 0; i < count; ++i) {
            char name[64];
            std::snprintf(name, sizeof name,
                          std::string(kind) == "ordinary" ? "IMG_%05d.JPG" : "IMG\\%05d.JPG", i);
            std::ofstream(folder / name) << "x";
        }
        int rows = 0;
        const double seconds = bestListSeconds(files, folder, rows);
        std::printf("%d %s names: %.3f s, %d rows listed\n", count, kind, seconds, rows);
    }
    fs::remove_all(root);
    return 0;
}
