#pragma once

#include "window/PhotoColumn.h"
#include "window/WindowPrompt.h"
#include "workspace/PhotoTable.h"
#include "workspace/Project.h"
#include "workspace/Settings.h"

#include <QDialog>

#include <array>
#include <atomic>
#include <functional>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {
class ConversionRun;
}

// The photo resizing workspace: three folder columns side by side (originals, reduced copies,
// thumbnails). Built anew for each opening; closing it writes the settings file.
class TRidFotoForm : public QDialog {
    Q_OBJECT

public:
    using Column = tess::workspace::Column;

    TRidFotoForm(QWidget* owner, tess::workspace::Project project, tess::platform::FileSystem& fs);
    ~TRidFotoForm() override;

    // The commands of one column: choose its folder, rebuild its list, mark its current row
    // (originals and reduced), mark or unmark all its rows.
    void chooseFolder(Column column);
    void refreshList(Column column);
    void toggleMark(Column column);
    void markAll(Column column, bool marked);

    // The commands, by the names of their controls. Each runs the real command; failures
    // propagate to the caller (the controls run them through the standard error box).
    void ButtonCartellaOriginaliClick() { chooseFolder(Column::Originals); }
    void ButtonCartellaRidotteClick() { chooseFolder(Column::Reduced); }
    void ButtonCartellaThumbsClick() { chooseFolder(Column::Thumbnails); }
    void ButtonRefreshOriginaliClick() { refreshList(Column::Originals); }
    void ButtonRefreshRidotteClick() { refreshList(Column::Reduced); }
    void ButtonRefreshThumbsClick() { refreshList(Column::Thumbnails); }
    void DBGrid1DblClick() { toggleMark(Column::Originals); }
    void DBGrid2DblClick() { toggleMark(Column::Reduced); }
    void SelezionaTutto1Click() { markAll(Column::Originals, true); }
    void DeselezionaTutto1Click() { markAll(Column::Originals, false); }
    void MenuItem1Click() { markAll(Column::Reduced, true); }
    void MenuItem2Click() { markAll(Column::Reduced, false); }
    void SpeedButton5Click();
    void CheckBox1Click();
    void Converti1Click();
    void Cancella1Click();
    void RinominaFotoCorrente1Click();
    void MenuItem3Click();
    void MenuItem5Click();

    void CaricaImpostazioniFileIni();
    void SalvaImpostazioniIni();

    // True while a conversion pass runs: every command of the window is refused meanwhile,
    // but "Chiudi", the close box and Esc ask whether to stop it. Safe from any thread.
    bool isConverting() const { return m_run != nullptr; }

    tess::workspace::PreviewSlot& preview(int column) const;

private:
    std::array<tess::workspace::PhotoColumn, tess::workspace::ColumnCount> m_columns;

public:
    tess::workspace::PhotoTable& TabFotoOriginali = m_columns[Column::Originals].list.table;
    tess::workspace::PhotoTable& TabFotoRidotte = m_columns[Column::Reduced].list.table;
    tess::workspace::PhotoTable& TabFotoThumbs = m_columns[Column::Thumbnails].list.table;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void bindCommands();
    void runHandler(const std::function<void()>& handler);
    // Runs `handler` through runHandler whenever `sender` sends `signal`.
    template <class Sender, class Signal>
    void bind(Sender* sender, Signal signal, std::function<void()> handler) {
        connect(sender, signal, this, [this, handler] { runHandler(handler); });
    }
    // The texts of the path and parameter boxes, in the order of the settings file's keys.
    std::array<std::string, tess::workspace::TextSettingCount> settingTexts() const;
    std::array<QLineEdit*, tess::workspace::TextSettingCount> settingBoxes() const;
    // Says once an opening that the settings cannot be kept because the start folder is gone.
    void tellIfSettingsFolderGone();

    tess::workspace::Project m_project;
    tess::platform::FileSystem& m_fs;
    tess::workspace::WindowPrompt m_prompt;
    tess::workspace::PhotoCommands m_commands;
    std::atomic<tess::workspace::ConversionRun*> m_run = nullptr; // the run that is on, if any
    bool m_settingsFolderGoneTold = false;

    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* EditLRidotte = nullptr;
    QLineEdit* EditARidotte = nullptr;
    QLineEdit* EditCRidotte = nullptr;
    QLineEdit* EditLThumbs = nullptr;
    QLineEdit* EditAThumbs = nullptr;
    QLineEdit* EditCThumbs = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* SpeedButton5 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
};
