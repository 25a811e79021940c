// Times "Seleziona Tutto" on the originals list of a real workspace window, with the
// originals preview on, over the photos of one folder.
//
//   tessaluma-bench-mark-all FOLDER [RUNS]
//
// Prints one line per run and, last, "mark-all N photos X ms" with the best run. The time
// covers the command and the preview it leaves to draw, as the user waits for both.
#include "BenchWorkspace.h"
#include "window/TRidFotoForm.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const auto arguments = tess::bench::readArguments(argc, argv);
    if (!arguments)
        return 2;
    QApplication app(argc, argv);
    tess::bench::BenchWorkspace workspace(arguments->folder, "tess-markall");
    const int runs = arguments->runs;
    long long best = -1;
    int count = 0;
    {
        TRidFotoForm form(nullptr, workspace.project, workspace.fileSystem);
        form.show();
        tess::bench::waitForPreviews(form);
        QApplication::processEvents();
        count = form.TabFotoOriginali.rowCount();
        auto* markAll = form.findChild<QAction*>(QStringLiteral("SelezionaTutto1"));
        for (int run = 1; run <= runs; ++run) {
            form.TabFotoOriginali.first();
            tess::bench::waitForPreviews(form);
            QElapsedTimer timer;
            timer.start();
            markAll->trigger();
            tess::bench::waitForPreviews(form);
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
    std::printf("mark-all %d photos %lld ms\n", count, best);
    return 0;
}
