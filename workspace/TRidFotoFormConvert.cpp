// The conversion pass: every marked original becomes a reduced copy and a thumbnail.
#include "workspace/TRidFotoForm.h"

#include "dialogs/MessageBoxes.h"
#include "workspace/ParallelConversion.h"
#include "workspace/Preview.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <algorithm>
#include <thread>

using tess::workspace::OutputSpec;
using tess::workspace::ParallelConversion;
using tess::workspace::PreviewSlot;

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
        for (PreviewSlot* slot : m_form.m_previews)
            slot->setDecodingInBackground(true);
        qApp->installEventFilter(this);
    }
    ~ConversionRun() override {
        qApp->removeEventFilter(this);
        for (PreviewSlot* slot : m_form.m_previews)
            slot->setDecodingInBackground(false);
        m_form.m_pass = nullptr;
        m_form.m_converting = false;
    }

    // Runs the pass to its end while the window goes on processing its events.
    ParallelConversion::Outcome exec() {
        QEventLoop loop;
        ParallelConversion::Outcome outcome;
        std::thread writer([&] {
            try {
                outcome = m_pass.run([this](int) {
                    QMetaObject::invokeMethod(
                        &m_form, [this] { m_form.conversionRowDone(); }, Qt::QueuedConnection);
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
            return std::any_of(m_form.m_previews.begin(), m_form.m_previews.end(),
                               [](const PreviewSlot* slot) { return slot->isBusy(); });
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

void TRidFotoForm::askToStopConversion() {
    // One question at a time: a second close while it is open is not asked again.
    if (!m_pass || m_askingToStop)
        return;
    m_askingToStop = true;
    const bool stop = tess::ui::confirm(this, QStringLiteral("Interrompere la conversione?"));
    m_askingToStop = false;
    if (stop && m_pass) {
        m_pass->stop();
        m_stopping = true;
    }
}

void TRidFotoForm::conversionRowDone() {
    TabFotoOriginali.next();
    ProgressBar1->setValue(
        tess::workspace::progressPosition(TabFotoOriginali.recNo(), TabFotoOriginali.rowCount()));
}

void TRidFotoForm::Converti1Click() {
    using tess::workspace::parseInteger;
    // Read in this order, so that the first box that is not a number is the one reported.
    const int reducedHeight = parseInteger(text(EditARidotte));
    const int reducedWidth = parseInteger(text(EditLRidotte));
    const int thumbHeight = parseInteger(text(EditAThumbs));
    const int thumbWidth = parseInteger(text(EditLThumbs));
    const int reducedQuality = parseInteger(text(EditCRidotte));
    const int thumbQuality = parseInteger(text(EditCThumbs));

    // A box of no size would write empty files in place of photos.
    if (reducedHeight <= 0 || reducedWidth <= 0 || thumbHeight <= 0 || thumbWidth <= 0) {
        tess::ui::notice(this,
                         QStringLiteral("Attenzione: errore nei parametri foto. Verificare."));
        return;
    }
    if (!tess::ui::confirm(this,
                           QStringLiteral("Procedo al ridimensionamento delle foto selezionate?")))
        return;
    const std::string originals = text(EditPercorsoOrigine);
    const OutputSpec reduced{reducedWidth, reducedHeight, reducedQuality,
                             text(EditPercorsoRidotte)};
    const OutputSpec thumbnails{thumbWidth, thumbHeight, thumbQuality, text(EditpercorsoThumbs)};
    if (originals.empty() || reduced.folder.empty() || thumbnails.folder.empty()) {
        tess::ui::notice(this, QStringLiteral("Attenzione: errore nei percorsi foto. Verificare."));
        return;
    }

    std::vector<ParallelConversion::Row> rows;
    for (int i = 0; i < TabFotoOriginali.rowCount(); ++i)
        rows.push_back(
            {TabFotoOriginali.row(i).nomeFoto, TabFotoOriginali.row(i).selezionato == 1});
    ParallelConversion pass(m_fs, originals, reduced, thumbnails, std::move(rows),
                            std::max(1, QThread::idealThreadCount()));
    ParallelConversion::Outcome outcome;
    {
        ConversionRun run(*this, pass);
        TabFotoOriginali.first();
        outcome = run.exec();
    }
    if (outcome.end == ParallelConversion::End::Failed)
        std::rethrow_exception(outcome.error);
    CaricaListaFoto(reduced.folder, TabFotoRidotte);
    CaricaListaFoto(thumbnails.folder, TabFotoThumbs);
    if (outcome.end == ParallelConversion::End::Completed)
        tess::ui::notice(this, QStringLiteral("Operazione completata"));
}
