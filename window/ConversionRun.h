#pragma once

#include "workspace/ParallelConversion.h"

#include <QObject>
#include <QTimer>

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

    // Runs the pass to its end while the window goes on processing its events.
    // rowsDone(count) runs on the window's thread with the number of rows finished since it
    // last ran: as the rows finish, but at most about once a frame, so a long list passed over
    // at once costs the window a few calls instead of one per row; the last call, for the last
    // rows, comes before it returns. The previews asked for meanwhile are shown before it
    // returns too.
    ParallelConversion::Outcome exec(const std::function<void(int count)>& rowsDone);

    // Asks whether to stop the run and stops it on OK; the run writes nothing while the
    // question is open, and on Cancel goes on from where it held. One question at a time:
    // while it is open, or once the user has chosen to stop, nothing more is asked. A run whose
    // rows were all finished when the user answered has completed, whatever the answer.
    void askToStop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every question the run puts to the user goes through here: the pass is held while it is
    // open and stays held when it returns, for the caller to stop or resume it.
    bool ask(const std::string& question);
    // On the writer's thread: `row` is finished.
    void rowFinished(int row);
    // Hands the rows finished since the last call to rowsDone; false when there were none.
    bool followRows();
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

    // The rows reach the window coalesced: the writer notes the latest and posts one call when
    // none is on its way; a call that comes within a frame of the last one is left to the
    // frame's end.
    std::function<void(int count)> m_rowsDone;
    std::atomic<int> m_rowsFinished = 0;
    std::atomic<bool> m_followPosted = false;
    int m_rowsFollowed = 0;
    QTimer m_frame;
};

} // namespace tess::workspace
