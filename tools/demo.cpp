// The program as a newcomer first sees it: the main window with the photo resizing workspace
// already open over it. scripts/run --demo starts it in a folder whose settings point at
// sample photos.
//
// tessaluma-demo --screenshot FILE saves a picture of the whole screen to FILE as soon as the
// workspace (or a box it opens with) is shown, and ends: scripts/run --screenshot runs it on a
// display of its own for a machine without one. Exit status 1 when the picture could not be
// saved or nothing was shown within half a minute.
#include "app/Program.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kPollMs = 50;
// Lets the window's last paints reach the display before the screen is read back.
constexpr int kSettleMs = 500;
constexpr int kPatienceMs = 30000;

void saveScreenOnceShown(const QString& file) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, file] {
        const QWidget* shown = QApplication::activeModalWidget();
        if (!shown || !shown->windowHandle() || !shown->windowHandle()->isExposed())
            return;
        poll->stop();
        QTimer::singleShot(kSettleMs, [file] {
            const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(file, "PNG");
            if (!saved)
                std::fprintf(stderr, "tessaluma-demo: could not write %s\n", qPrintable(file));
            QCoreApplication::exit(saved ? 0 : 1);
        });
    });
    poll->start(kPollMs);
    QTimer::singleShot(kPatienceMs, [] {
        std::fprintf(stderr, "tessaluma-demo: the workspace was not shown\n");
        QCoreApplication::exit(1);
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--screenshot") == 0) {
        const QString file = QString::fromLocal8Bit(argv[2]);
        // The toolkit's own options, if any, follow.
        argv[2] = argv[0];
        return runProgram(argc - 2, argv + 2, true, [file] { saveScreenOnceShown(file); });
    }
    return runProgram(argc, argv, true);
}
