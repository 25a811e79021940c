// The conversion pass: every marked original becomes a reduced copy and a thumbnail.
#include "window/TRidFotoForm.h"

#include "window/Preview.h"
#include "workspace/ConversionPass.h"
#include "workspace/ParallelConversion.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <algorithm>
#include <thread>

using tess::workspace::ParallelConversion;

// Holds the window's input off while a pass runs: the window keeps painting and the bar
// moves, but clicks, keys and the wheel reach nothing in it, so no command can start or move
// the originals list under the pass. "Chiudi" and Esc get through to ask whether to stop it
// (the close box asks in closeEvent). The photos are converted and written on threads of
// their own; the window's thread only follows the rows as they are finished. Ends with the
// pass, however it ends.
class TRidFotoForm::ConversionRun final : public QObject {
public:
    ConversionRun(TRidFotoForm& form, ParallelConversion& pass) : m_form(form), m_pass(pass) {
        m_form.m_converting = true;
        m_form.m_stopping = false;
        m_form.m_pass = &m_pass;
        for (tess::workspace::PhotoColumn& column : m_form.m_columns)
            column.preview->setDecodingInBackground(true);
        qApp->installEventFilter(this);
    }
    ~ConversionRun() override {
        qApp->removeEventFilter(this);
        for (tess::workspace::PhotoColumn& column : m_form.m_columns)
            column.preview->setDecodingInBackground(false);
        m_form.m_pass = nullptr;
        m_form.m_converting = false;
    }

    // Runs the pass to its end while the window goes on processing its events; rowDone runs on
    // the window's thread after each row, in order.
    ParallelConversion::Outcome exec(const std::function<void()>& rowDone) {
        QEventLoop loop;
        ParallelConversion::Outcome outcome;
        std::thread writer([&] {
            try {
                outcome = m_pass.run([this, &rowDone](int) {
                    QMetaObject::invokeMethod(&m_form, rowDone, Qt::QueuedConnection);
                });
            } catch (...) {
                outcome.end = ParallelConversion::End::Failed;
                outcome.error = std::current_exception();
            }
            // Posted after the last row, so the window has followed every row before it.
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        writer.join();
        // The previews of the rows passed are decoded off the window's thread; the last one is
        // shown before the run is reported.
        const auto busy = [this] {
            return std::any_of(m_form.m_columns.begin(), m_form.m_columns.end(),
                               [](const tess::workspace::PhotoColumn& column) {
                                   return column.preview->isBusy();
                               });
        };
        while (busy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return outcome;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && isInForm(watched)) {
                m_form.askToStopConversion();
                return true;
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
            break;
        default:
            return false;
        }
        return watched != m_form.SpeedButton5 && isInForm(watched);
    }

private:
    bool isInForm(QObject* watched) const {
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget && widget->window() == &m_form;
    }

    TRidFotoForm& m_form;
    ParallelConversion& m_pass;
};

namespace {

bool failedAsPreviewed(const tess::workspace::PreviewSlot& preview,
                       const std::exception_ptr& error) {
    const std::optional<std::string> path = preview.currentPath();
    if (!path || !preview.lastFailure())
        return false;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return *preview.lastFailure() == tess::workspace::PreviewSlot::Failure{*path, e.what()};
    } catch (...) {
        return false;
    }
}

} // namespace

void TRidFotoForm::askToStopConversion() {
    // One question at a time: a second close while it is open is not asked again.
    if (!m_pass || m_askingToStop)
        return;
    m_askingToStop = true;
    const bool stop = m_prompt.confirm("Interrompere la conversione?");
    m_askingToStop = false;
    if (stop && m_pass) {
        m_pass->stop();
        m_stopping = true;
    }
}

void TRidFotoForm::Converti1Click() {
    tess::workspace::ConversionPass pass(m_fs, m_prompt, m_columns[Column::Originals].list,
                                         m_columns[Column::Reduced].list,
                                         m_columns[Column::Thumbnails].list);
    if (!pass.start(settingTexts()))
        return;
    const auto parallel = pass.parallel(std::max(1, QThread::idealThreadCount()));
    tess::workspace::PreviewSlot& originalsPreview = *m_columns[Column::Originals].preview;
    originalsPreview.forgetFailure();
    ParallelConversion::Outcome outcome;
    {
        ConversionRun run(*this, *parallel);
        outcome = run.exec([this, &pass] { ProgressBar1->setValue(pass.advance()); });
    }
    switch (outcome.end) {
    case ParallelConversion::End::Failed:
        // The run ends on the row that failed, which is the current one: when its preview has
        // just shown the same failure, one box has said it.
        if (failedAsPreviewed(originalsPreview, outcome.error))
            return;
        std::rethrow_exception(outcome.error);
    case ParallelConversion::End::Stopped:
        pass.rebuildOutputs();
        break;
    case ParallelConversion::End::Completed:
        pass.finish();
        break;
    }
}
