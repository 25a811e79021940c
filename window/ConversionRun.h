#pragma once

#include "workspace/ParallelConversion.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace tess::workspace {

class PreviewSlot;
class Prompt;

// One run of the conversion pass in a window, and all the state of it: the pass, whether the
// user is being asked to stop it and whether the user has chosen to. While it lives the
// window's input is held off: the window keeps painting and the bar moves, but clicks, keys
// and the wheel reach nothing in it, so no command can start or move the originals list under
// the pass. The stop button and Esc get through to ask whether to stop it. The photos are
// converted and written on threads of their own; the window's thread only follows the rows as
// they are finished.
class ConversionRun final : public QObject {
public:
    // `current` is the window's pointer to the run that is on: it points at this run while the
    // run lives. The previews are decoded off the window's thread meanwhile.
    ConversionRun(QWidget& window, QWidget& stopButton, Prompt& prompt,
                  std::vector<PreviewSlot*> previews, std::unique_ptr<ParallelConversion> pass,
                  std::atomic<ConversionRun*>& current);
    ~ConversionRun() override;
    ConversionRun(const ConversionRun&) = delete;
    ConversionRun& operator=(const ConversionRun&) = delete;

    // Runs the pass to its end while the window goes on processing its events; rowDone runs on
    // the window's thread after each row, in order. The previews asked for meanwhile are shown
    // before it returns.
    ParallelConversion::Outcome exec(const std::function<void()>& rowDone);

    // Asks whether to stop the run and stops it on OK. One question at a time: while it is open,
    // or once the user has chosen to stop, nothing more is asked.
    void askToStop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every question the run puts to the user goes through here.
    bool ask(const std::string& question);
    bool isInWindow(QObject* watched) const;
    bool previewsBusy() const;

    QWidget& m_window;
    QWidget& m_stopButton;
    Prompt& m_prompt;
    const std::vector<PreviewSlot*> m_previews;
    const std::unique_ptr<ParallelConversion> m_pass;
    std::atomic<ConversionRun*>& m_current;
    bool m_asking = false;
    bool m_stopping = false;
};

} // namespace tess::workspace
