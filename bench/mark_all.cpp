// Times "Seleziona Tutto" on the originals list of a real workspace window, with the
// originals preview on, over the photos of one folder.
//
//   tessaluma-bench-mark-all FOLDER [RUNS]
//
// Prints one line per run and, last, "mark-all N photos X ms" with the best run. The time
// covers the command and the preview it leaves to draw, as the user waits for both.
#include "dialogs/Fonts.h"
#include "platform/PosixFileSystem.h"
#include "workspace/TRidFotoForm.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [RUNS]\n", argv[0]);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    tess::ui::loadFonts();
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    namespace fs = std::filesystem;
    using tess::platform::PosixFileSystem;
    std::string pattern = (fs::temp_directory_path() / "tess-markall-XXXXXX").string();
    const fs::path work = mkdtemp(pattern.data());
    fs::create_directories(work / "ridotte");
    fs::create_directories(work / "thumbs");
    const auto win = [](const fs::path& p) {
        return PosixFileSystem::windowsPath(p.string()) + "\\";
    };
    std::ofstream(work / "Tessaluma.ini")
        << "[Tessaluma]\r\nPercorsoFotoOriginali=" << win(fs::absolute(argv[1]))
        << "\r\nPercorsoFotoRidotte=" << win(work / "ridotte")
        << "\r\nPercorsoFotoThumbs=" << win(work / "thumbs") << "\r\nAnteprimaOriginali=SI\r\n";

    PosixFileSystem fileSystem;
    const tess::workspace::Project project{"Tessaluma", win(work) + "Tessaluma.ini"};
    long long best = -1;
    int count = 0;
    {
        TRidFotoForm form(nullptr, project, fileSystem);
        form.show();
        form.flushPreviews();
        QApplication::processEvents();
        count = form.TabFotoOriginali.rowCount();
        auto* markAll = form.findChild<QAction*>(QStringLiteral("SelezionaTutto1"));
        for (int run = 1; run <= runs; ++run) {
            form.TabFotoOriginali.first();
            form.flushPreviews();
            QElapsedTimer timer;
            timer.start();
            markAll->trigger();
            form.flushPreviews();
            QApplication::processEvents();
            const long long ms = timer.elapsed();
            std::printf("run %d: %lld ms\n", run, ms);
            best = best < 0 ? ms : std::min(best, ms);
        }
        for (int i = 0; i < count; ++i) {
            if (form.TabFotoOriginali.row(i).selezionato != 1) {
                std::fprintf(stderr, "row %d was not marked\n", i + 1);
                return 1;
            }
        }
    }
    fs::remove_all(work);
    std::printf("mark-all %d photos %lld ms\n", count, best);
    return 0;
}
