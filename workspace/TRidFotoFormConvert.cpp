// The conversion pass: every marked original becomes a reduced copy and a thumbnail.
#include "workspace/TRidFotoForm.h"

#include "dialogs/MessageBoxes.h"
#include "workspace/Conversion.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QProgressBar>

using tess::workspace::OutputSpec;

// Holds the window's input off while a pass runs: the window keeps painting and the bar
// moves, but clicks, keys and the wheel reach nothing in it, so no command can start or move
// the originals list under the pass (the close box is refused by closeEvent). Ends with the
// pass, however it ends.
class TRidFotoForm::ConversionRun final : public QObject {
public:
    explicit ConversionRun(TRidFotoForm& form) : m_form(form) {
        m_form.m_converting = true;
        qApp->installEventFilter(this);
    }
    ~ConversionRun() override {
        qApp->removeEventFilter(this);
        m_form.m_converting = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
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
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget && widget->window() == &m_form;
    }

private:
    TRidFotoForm& m_form;
};

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

    {
        ConversionRun run(*this);
        TabFotoOriginali.first();
        while (!TabFotoOriginali.eof()) {
            if (TabFotoOriginali.currentMark() == 1)
                tess::workspace::convertPhoto(m_fs, TabFotoOriginali.currentName(), originals,
                                              reduced, thumbnails);
            TabFotoOriginali.next();
            ProgressBar1->setValue(tess::workspace::progressPosition(TabFotoOriginali.recNo(),
                                                                     TabFotoOriginali.rowCount()));
            QApplication::processEvents();
        }
    }
    CaricaListaFoto(reduced.folder, TabFotoRidotte);
    CaricaListaFoto(thumbnails.folder, TabFotoThumbs);
    tess::ui::notice(this, QStringLiteral("Operazione completata"));
}
