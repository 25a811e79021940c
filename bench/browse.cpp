// Browses the originals list of a real workspace window with the originals preview on, as a
// user holding Down does: 30 presses of Down on the grid, one every 40 ms (a keyboard's repeat
// rate), from the first row. Measures what the user feels: the longest gap between two ticks
// of a 5 ms timer on the window's thread from the first press until the last row's picture is
// shown, and how long after the last press that picture came.
//
//   tessaluma-bench-browse FOLDER [RUNS]
//
// The folder needs at least 31 photos. Prints one line per run, then "stall_ms X" and
// "last_picture_ms X" (the worst runs), for bench/browse.
#include "BenchWorkspace.h"
#include "window/Preview.h"
#include "window/TRidFotoForm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kMoves = 30;
constexpr int kPressEveryMs = 40;

} // namespace

int main(int argc, char** argv) {
    const auto arguments = tess::bench::readArguments(argc, argv);
    if (!arguments)
        return 2;
    QApplication app(argc, argv);
    tess::bench::BenchWorkspace workspace(arguments->folder, "tess-browse");
    long long worstStall = 0;
    long long worstLast = 0;
    {
        TRidFotoForm form(nullptr, workspace.project, workspace.fileSystem);
        form.show();
        tess::bench::waitForPreviews(form);
        auto& originals = form.TabFotoOriginali;
        if (originals.rowCount() < kMoves + 1) {
            std::fprintf(stderr, "the folder holds %d photos, %d needed\n", originals.rowCount(),
                         kMoves + 1);
            return 2;
        }
        auto* grid = form.findChild<QTableView*>(QStringLiteral("DBGrid1"));
        grid->setFocus();
        const tess::workspace::PreviewSlot& preview = form.preview(0);

        tess::bench::StallMeter stall;
        for (int run = 1; run <= arguments->runs; ++run) {
            originals.first();
            tess::bench::waitForPreviews(form);
            QApplication::processEvents();
            int presses = 0;
            long long lastPress = 0;
            QTimer press;
            press.setTimerType(Qt::PreciseTimer);
            QObject::connect(&press, &QTimer::timeout, [&] {
                // Posted as the window system hands a key over: through the event loop.
                QApplication::postEvent(
                    grid, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
                QApplication::postEvent(
                    grid, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier));
                lastPress = stall.elapsedMs();
                if (++presses == kMoves)
                    press.stop();
            });
            stall.start();
            press.start(kPressEveryMs);
            // The ticks wake the loop; a browse that never gets there ends after a minute.
            while ((press.isActive() || originals.currentIndex() != kMoves || preview.isBusy()) &&
                   stall.elapsedMs() < 60000)
                QApplication::processEvents(QEventLoop::WaitForMoreEvents);
            const long long last = stall.elapsedMs() - lastPress;
            stall.stop();
            if (originals.currentIndex() != kMoves || !preview.image()->isVisible()) {
                std::fprintf(stderr, "the browse ended on row %d without its picture\n",
                             originals.recNo());
                return 1;
            }
            std::printf("browse run %d: %d moves, longest stall %lld ms, last picture %lld ms "
                        "after the last press\n",
                        run, kMoves, stall.longestMs(), last);
            worstStall = std::max(worstStall, stall.longestMs());
            worstLast = std::max(worstLast, last);
        }
    }
    std::printf("stall_ms %lld\n", worstStall);
    std::printf("last_picture_ms %lld\n", worstLast);
    return 0;
}
