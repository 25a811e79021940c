#pragma once

#include <QObject>

#include "imaging/Image.h"

#include <exception>
#include <functional>
#include <future>
#include <optional>
#include <string>

class QLabel;
class QWidget;

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {

// Shows the preview of one file in one slot: the photo decoded at a quarter of its size and
// fitted into 201 x 169 at the view's fixed top-left corner, or the "not available" label for
// a name that does not end in "JPG" (any letter case). Exactly one of the two is visible. A
// photo tagged with an Exif orientation is shown upright and fitted by its upright size.
// Throws tess::Error when the file cannot be opened or decoded; the label is then shown.
void MostraAnteprima(platform::FileSystem& fs, const std::string& path, QLabel* label,
                     QLabel* image);

// Hides the view and shows the label.
void showNotAvailable(QLabel* label, QLabel* image);

// The preview area under one list. A move of the list's cursor asks for a new preview; the
// preview is computed once, for the row that is current when the window next gets to process
// its events, so an operation that walks a whole list decodes one photo, not every one. A
// failed preview shows its error in the standard error box and never stops the operation
// that moved the cursor.
class PreviewSlot final : public QObject {
    Q_OBJECT

public:
    // Gives the photo's full path when the preview is drawn; nullopt when the preview is
    // switched off.
    using Source = std::function<std::optional<std::string>()>;

    PreviewSlot(QLabel* image, QLabel* label, platform::FileSystem& fs, Source source,
                QWidget* window);
    // Waits for a decode still running on its thread.
    ~PreviewSlot() override;

    // Asks for the preview to be recomputed.
    void schedule();
    // Computes a preview that has been asked for, at once (a decode running on its thread is
    // waited for and shown first).
    void flush();

    // While on, a photo is decoded on a thread of its own and shown when it is ready, so the
    // window goes on painting; requests made meanwhile give one more decode, for the row that
    // is current when the running one ends. A failure is shown as ever.
    void setDecodingInBackground(bool on) { m_background = on; }
    // True while a preview is asked for or being decoded.
    bool isBusy() const { return m_pending || m_decoding.valid(); }

    // The file and the message of the last failure this slot has shown, until forgotten: a
    // command that fails on the same file need not show the same box again.
    struct Failure {
        std::string path;
        std::string message;
        bool operator==(const Failure&) const = default;
    };
    const std::optional<Failure>& lastFailure() const { return m_lastFailure; }
    void forgetFailure() { m_lastFailure.reset(); }
    // The file the slot would show now; nullopt when the preview is switched off.
    std::optional<std::string> currentPath() const { return m_source(); }

    QLabel* image() const { return m_image; }
    QLabel* label() const { return m_label; }

private:
    struct Decoded {
        std::string path;
        imaging::RgbImage picture;
        std::exception_ptr error;
    };

    void refresh();
    // Shows a failed preview's error in the standard error box, and keeps it.
    void report(const std::string& path, const std::exception_ptr& error);
    void finishDecoding();

    QLabel* m_image;
    QLabel* m_label;
    platform::FileSystem& m_fs;
    Source m_source;
    QWidget* m_window;
    bool m_pending = false;
    bool m_background = false;
    std::future<Decoded> m_decoding;
    std::optional<Failure> m_lastFailure;
};

} // namespace tess::workspace
