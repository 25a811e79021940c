// The conversion pass: every marked original becomes a reduced copy and a thumbnail.
#include "workspace/TRidFotoForm.h"

#include "workspace/PhotoCommands.h"

#include <QApplication>
#include <QEvent>
#include <QProgressBar>

using tess::workspace::Column;

// Holds the window's input off while a pass runs: the window keeps painting and the bar
// moves, but clicks, keys and the wheel reach nothing in it, so no command can start or move
// the originals list under the pass (the close box is refused by closeEvent). Ends with the
// pass, however it ends.
class TRidFotoForm::InputHold final : public QObject {
public:
    explicit InputHold(TRidFotoForm& form) : m_form(form) {
        m_form.m_converting = true;
        qApp->installEventFilter(this);
    }
    ~InputHold() override {
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
    tess::workspace::ConversionPass pass(m_fs, m_prompt, m_columns[Column::Originals].list,
                                         m_columns[Column::Reduced].list,
                                         m_columns[Column::Thumbnails].list);
    if (!pass.start(settingTexts()))
        return;
    {
        InputHold hold(*this);
        while (!pass.done()) {
            ProgressBar1->setValue(pass.step());
            QApplication::processEvents();
        }
    }
    pass.finish();
}
