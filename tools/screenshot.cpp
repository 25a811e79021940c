// Saves what the X display in DISPLAY shows to a PNG file, read from the screen itself.
// A dump by "xwd -root" is not to be trusted for this: xwd reads a window that lies wholly
// inside a larger window of the same visual from that larger window, whose covered part the
// server leaves undefined, so message boxes and dialogs over the workspace come out black.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaluma-screenshot FILE.png\n");
        return 2;
    }
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    return screen.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
