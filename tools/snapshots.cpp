// Renders every window of the program to PNG files in OUTDIR, without waiting for input.
//
// The program starts as it always does, in the current working directory (its settings file
// is read there, and written back when the workspace closes). The real menu commands then run
// one after the other; a watcher polls for the modal window each of them opens, pictures it
// and does the scripted next thing for it. A message box met on the way is pictured and
// dismissed; a window still open after a while is closed and reported.
//
// Exit status 0 when every picture was written; 1 when one is missing or could not be saved,
// or when the watchdog had to close a window; 2 for a wrong command line.
#include "ModalWatch.h"
#include "app/Application.h"
#include "app/TBaseMainForm.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/TTavIn1Form.h"
#include "platform/SystemFileSystem.h"
#include "window/TRidFotoForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace {

constexpr int kPollMs = 20;
constexpr int kWatchdogMs = 10000;

// Lets posted events, layouts and pending paints run, so that a picture shows the window as
// the user would see it.
void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents();
    }
}

class Snapshots {
public:
    explicit Snapshots(const QString& outDir) : m_outDir(outDir) {}

    // Saves a picture of the window under `name`.png and reports it.
    void save(QWidget* window, const QString& name) {
        settle();
        const QString path = QDir(m_outDir).filePath(name + QStringLiteral(".png"));
        if (window->grab().save(path, "PNG")) {
            std::printf("%s\n", qPrintable(path));
            std::fflush(stdout);
            m_written.insert(name);
        } else {
            std::fprintf(stderr, "tessaluma-snapshots: could not write %s\n", qPrintable(path));
            m_failed = true;
        }
    }

    bool written(const QString& name) const { return m_written.count(name) > 0; }
    void fail() { m_failed = true; }
    bool failed() const { return m_failed; }

private:
    QString m_outDir;
    std::set<QString> m_written;
    bool m_failed = false;
};

void closeDialog(QWidget* window) {
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    else
        window->close();
}

// Clicks the button of that name when the window has one; closes the window otherwise.
void clickOrClose(QWidget* window, const char* buttonName) {
    if (auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(buttonName)))
        button->click();
    if (window->isVisible())
        closeDialog(window);
}

// Pictures each modal window as it appears and hands it to the script for its class. A script
// runs from a zero timer rather than from the poll itself, so that the modal windows it opens
// in turn are seen by the poll as well.
class ModalWatcher {
public:
    using Script = std::function<void(QWidget* window)>;

    explicit ModalWatcher(Snapshots& snapshots)
        : m_snapshots(snapshots), m_watch(
                                      kWatchdogMs, [this](QWidget* modal) { handle(modal); },
                                      [this](QWidget* modal) { closeStuck(modal); }, kPollMs) {}

    // The picture name and the script for windows of a class; a window of a class without
    // one is pictured as "unexpected-N" and closed.
    void on(const char* className, const QString& pictureName, Script script) {
        m_scripts[QString::fromLatin1(className)] = {pictureName, std::move(script)};
    }

private:
    struct Entry {
        QString pictureName;
        Script script;
    };

    void closeStuck(QWidget* modal) {
        std::fprintf(stderr, "tessaluma-snapshots: closing a window left open: %s \"%s\"\n",
                     modal->metaObject()->className(), qPrintable(modal->windowTitle()));
        m_snapshots.fail();
        closeDialog(modal);
    }

    void handle(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            std::fprintf(stderr, "tessaluma-snapshots: message: %s\n", qPrintable(box->text()));
            m_snapshots.save(box, QStringLiteral("message-%1").arg(++m_messages));
            QAbstractButton* button = box->defaultButton();
            if (!button)
                button = box->button(QMessageBox::Ok);
            if (button)
                button->click();
            else
                box->reject();
            return;
        }

        const auto found = m_scripts.find(QString::fromLatin1(modal->metaObject()->className()));
        if (found == m_scripts.end()) {
            std::fprintf(stderr, "tessaluma-snapshots: unexpected window: %s \"%s\"\n",
                         modal->metaObject()->className(), qPrintable(modal->windowTitle()));
            m_snapshots.save(modal, QStringLiteral("unexpected-%1").arg(++m_unexpected));
            closeDialog(modal);
            return;
        }
        m_snapshots.save(modal, found->second.pictureName);
        QPointer<QWidget> window(modal);
        Script script = found->second.script;
        QTimer::singleShot(0, modal, [window, script] {
            if (window)
                script(window);
        });
    }

    Snapshots& m_snapshots;
    std::map<QString, Entry> m_scripts;
    int m_messages = 0;
    int m_unexpected = 0;
    tess::test::ModalWatch m_watch;
};

// What is done in the open workspace: mark photos, open the directory dialog, then the
// value-input dialog, then close it.
void workOnWorkspace(QWidget* window, Snapshots& snapshots) {
    auto* workspace = qobject_cast<TRidFotoForm*>(window);
    if (!workspace) {
        closeDialog(window);
        return;
    }
    QPointer<TRidFotoForm> alive(workspace);
    const auto run = [&](const std::function<void()>& command) {
        if (alive)
            tess::ui::runCommand(workspace, command);
    };

    run([&] {
        workspace->TabFotoOriginali.first();
        workspace->DBGrid1DblClick();
    });
    // Another row current, so that the marked row shows in its own colour beside it.
    run([&] {
        if (workspace->TabFotoOriginali.rowCount() >= 2)
            workspace->TabFotoOriginali.moveTo(1);
    });
    run([&] { workspace->MenuItem1Click(); });
    if (!alive)
        return;
    snapshots.save(workspace, QStringLiteral("workspace-marked"));

    run([&] { workspace->ButtonCartellaOriginaliClick(); });

    run([&] {
        TTavIn1Form input(workspace);
        input.setFont(workspace->font());
        input.Label1->setText(QStringLiteral("Nuovo nome foto (senza estensione):"));
        input.Edit1->setText(QStringLiteral("IMG_0001"));
        input.exec();
    });

    run([&] { workspace->SpeedButton5Click(); });
    if (alive && workspace->isVisible())
        workspace->reject();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaluma-snapshots OUTDIR\n");
        return 2;
    }
    // Made absolute now: the directory dialog changes the working directory as it browses.
    const QString outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "tessaluma-snapshots: cannot create %s\n", argv[1]);
        return 1;
    }

    tess::ui::setUpApplication();
    tess::platform::SystemFileSystem fs;

    Snapshots snapshots(outDir);
    ModalWatcher watcher(snapshots);
    watcher.on("TInfoForm", QStringLiteral("about-box"),
               [](QWidget* window) { clickOrClose(window, "OKBtn"); });
    watcher.on("TRidFotoForm", QStringLiteral("workspace"),
               [&snapshots](QWidget* window) { workOnWorkspace(window, snapshots); });
    watcher.on("TTavGDirForm", QStringLiteral("directory-dialog"),
               [](QWidget* window) { clickOrClose(window, "CancelBtn"); });
    watcher.on("TTavIn1Form", QStringLiteral("value-input"),
               [](QWidget* window) { clickOrClose(window, "CancelBtn"); });

    {
        TBaseMainForm mainForm(fs);
        mainForm.show();
        snapshots.save(&mainForm, QStringLiteral("main-window"));

        // The commands run as the menu runs them, through their actions.
        mainForm.Informazioni1->trigger();
        settle();
        mainForm.GestioneFoto2->trigger();
        settle();
        mainForm.Esci1->trigger();
        settle();
    }

    bool complete = true;
    for (const char* name : {"main-window", "about-box", "workspace", "workspace-marked",
                             "directory-dialog", "value-input"}) {
        if (!snapshots.written(QString::fromLatin1(name))) {
            std::fprintf(stderr, "tessaluma-snapshots: no picture of %s\n", name);
            complete = false;
        }
    }
    return complete && !snapshots.failed() ? 0 : 1;
}
