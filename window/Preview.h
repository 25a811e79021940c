#pragma once

#include "workspace/PreviewWorker.h"

#include <QObject>

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QWidget;

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {

class PreviewBoard;

// The preview area under one list: the list's current photo decoded at a quarter of its size
// and fitted into 201 x 169 at the view's fixed top-left corner, or the "not available" label
// for a name that does not end in "JPG" (any letter case). Exactly one of the two is visible.
// A photo tagged with an Exif orientation is shown upright and fitted by its upright size.
//
// A move of the list's cursor asks for a new preview; it is asked for once, for the row that
// is current when the window next gets to process its events, so an operation that walks a
// whole list decodes one photo, not every one. The photo is decoded off the window's thread
// and shown when it is ready; the area keeps what it showed until then. A failed preview
// shows the label and its error in the standard error box, and never stops the operation
// that moved the cursor.
class PreviewSlot {
public:
    // Gives the photo's full path when the preview is asked for; nullopt when the preview is
    // switched off.
    using Source = std::function<std::optional<std::string>()>;

    PreviewSlot(const PreviewSlot&) = delete;
    PreviewSlot& operator=(const PreviewSlot&) = delete;

    // Asks for the preview to be recomputed.
    void schedule();
    // True from a request until its picture or label is shown, and a failure's box answered.
    bool isBusy() const { return m_pending || m_ticket != 0; }

    // True when the last failure this slot has shown, until forgotten, is this error on the
    // file it would show now: a command that fails on that file need not show the same box
    // again.
    bool hasShown(const std::exception_ptr& error) const;
    void forgetFailure() { m_lastFailure.reset(); }

    QLabel* image() const { return m_image; }
    QLabel* label() const { return m_label; }

private:
    friend class PreviewBoard;
    PreviewSlot(PreviewBoard& board, int list, QLabel* image, QLabel* label, Source source);

    void refresh();
    // Shows the preview of one file: the label at once for a name that does not end in
    // "JPG", otherwise the picture once the worker has decoded it.
    void MostraAnteprima(const std::string& path);
    void showNotAvailable();
    // Keeps a failure the slot is about to show.
    void keepFailure(const std::string& path, const std::exception_ptr& error);

    PreviewBoard& m_board;
    const int m_list;
    QLabel* m_image;
    QLabel* m_label;
    Source m_source;
    bool m_pending = false;
    std::uint64_t m_ticket = 0; // the decode asked for and not yet shown; 0 for none
    // The file and the message of the last failure shown.
    struct Failure {
        std::string path;
        std::string message;
        bool operator==(const Failure&) const = default;
    };
    std::optional<Failure> m_lastFailure;
};

// The previews of one window: the slots under its lists, and the one worker thread their
// photos are decoded on. What a user sees is kept in order here, on the window's thread:
// the results are shown in the order they were asked for; a result that its slot has asked
// again since is dropped, a failure as much as a picture, so an error box always names the
// photo its list is on. While a box is open the results behind it wait, so the boxes come one
// at a time and in order.
class PreviewBoard final : public QObject {
public:
    PreviewBoard(platform::FileSystem& fs, int lists, QWidget* window);
    // Stops the decode running, if any: it ends within a band of rows.
    ~PreviewBoard() override;

    // Makes the slot of the next list, which shows the label until asked for a preview.
    PreviewSlot* addSlot(QLabel* image, QLabel* label, PreviewSlot::Source source);

private:
    friend class PreviewSlot;

    // On the window's thread, for each result the worker delivers.
    void arrive(PreviewWorker::Result result);
    void showArrived();

    QWidget* m_window;
    std::vector<std::unique_ptr<PreviewSlot>> m_slots;
    std::deque<PreviewWorker::Result> m_arrived;
    bool m_reporting = false; // an error box is open
    PreviewWorker m_worker;   // last: ends first, so that it delivers to nothing gone
};

} // namespace tess::workspace
