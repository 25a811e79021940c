// Runs "Converti" on a real workspace window over the photos of one folder, with the
// originals preview on and every photo marked (or only the first MARKED rows), and
// measures what the user feels meanwhile: the longest gap between two ticks of a 5 ms timer on
// the window's thread while the run lasts, and the peak memory of the process over the run.
//
//   tessaluma-bench-window FOLDER [RUNS [MARKED]]
//   tessaluma-bench-window --rows FOLDER COUNT PHOTO
//       makes FOLDER a list of COUNT rows: ROW_00001.JPG ... as hard links to PHOTO
//
// Prints one line per run, then "stall_ms X" (the worst run) and "memory_peak_mb X" (the
// highest peak), for bench/convert.
#include "BenchWorkspace.h"
#include "PeakMemory.h"
#include "window/TRidFotoForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

int makeRows(const std::filesystem::path& folder, int count, const std::filesystem::path& photo) {
    std::filesystem::create_directories(folder);
    for (int i = 1; i <= count; ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "ROW_%05d.JPG", i);
        std::error_code error;
        std::filesystem::create_hard_link(photo, folder / name, error);
        if (error && error != std::errc::file_exists) {
            std::fprintf(stderr, "%s: %s\n", name, error.message().c_str());
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--rows")
        return makeRows(argv[2], std::atoi(argv[3]), argv[4]);
    const int marked = argc == 4 ? std::max(0, std::atoi(argv[3])) : -1;
    argc = std::min(argc, 3);
    const auto arguments = tess::bench::readArguments(argc, argv);
    if (!arguments)
        return 2;
    QApplication app(argc, argv);
    // The question before each run and the notice after it are answered with OK.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
        }
    });
    answer.start(10);
    tess::bench::BenchWorkspace workspace(arguments->folder, "tess-window");
    long long worstStall = 0;
    double peakMb = 0;
    {
        TRidFotoForm form(nullptr, workspace.project, workspace.fileSystem);
        form.show();
        tess::bench::waitForPreviews(form);
        QApplication::processEvents();
        // Only the photos are marked: another file would end the run at once.
        auto& originals = form.TabFotoOriginali;
        for (int i = 0; i < originals.rowCount(); ++i) {
            originals.moveTo(i);
            const std::string& name = originals.row(i).nomeFoto;
            const bool photo = name.size() > 4 && name.substr(name.size() - 4) == ".JPG";
            originals.setCurrentMark(photo && (marked < 0 || i < marked));
        }
        tess::bench::waitForPreviews(form);

        // Only the time a run is on counts: the question before it waits for its answer.
        tess::bench::StallMeter stall([&form] { return form.isConverting(); });
        auto* convert = form.findChild<QAction*>(QStringLiteral("Converti1"));
        for (int run = 1; run <= arguments->runs; ++run) {
            form.TabFotoOriginali.first();
            tess::bench::waitForPreviews(form);
            QApplication::processEvents();
            tess::bench::resetPeakMemory();
            stall.start();
            convert->trigger();
            stall.stop();
            const double mb = tess::bench::peakMemoryMb();
            if (form.TabFotoOriginali.recNo() != form.TabFotoOriginali.rowCount()) {
                std::fprintf(stderr, "the run ended at row %d\n", form.TabFotoOriginali.recNo());
                return 1;
            }
            std::printf("window run %d: %d rows in %lld ms, longest stall %lld ms, peak %.0f MB\n",
                        run, form.TabFotoOriginali.rowCount(), stall.elapsedMs(), stall.longestMs(),
                        mb);
            worstStall = std::max(worstStall, stall.longestMs());
            peakMb = std::max(peakMb, mb);
        }
    }
    std::printf("stall_ms %lld\n", worstStall);
    std::printf("memory_peak_mb %.1f\n", peakMb);
    return 0;
}
