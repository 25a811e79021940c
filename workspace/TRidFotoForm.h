#pragma once

#include "workspace/PhotoTable.h"
#include "workspace/Settings.h"

#include <QDialog>

#include <array>
#include <atomic>
#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class TTabForm;

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {
class ParallelConversion;
class PhotoGrid;
class PhotoGridModel;
class PreviewSlot;
} // namespace tess::workspace

// The photo resizing workspace: three folders side by side (originals, reduced copies,
// thumbnails), each with its folder button, path box, refresh button, grid and preview.
// Built anew for each opening; destroying it writes the settings file.
class TRidFotoForm : public QDialog {
    Q_OBJECT

public:
    TRidFotoForm(QWidget* owner, TTabForm& tabForm, tess::platform::FileSystem& fs);
    ~TRidFotoForm() override;

    // The commands, by the names of their controls. Each runs the real command; failures
    // propagate to the caller (the controls run them through the standard error box).
    void ButtonCartellaOriginaliClick();
    void ButtonCartellaRidotteClick();
    void ButtonCartellaThumbsClick();
    void ButtonRefreshOriginaliClick();
    void ButtonRefreshRidotteClick();
    void ButtonRefreshThumbsClick();
    void SpeedButton5Click();
    void CheckBox1Click();
    void DBGrid1DblClick();
    void DBGrid2DblClick();
    void SelezionaTutto1Click();
    void DeselezionaTutto1Click();
    void MenuItem1Click();
    void MenuItem2Click();
    void Converti1Click();
    void Cancella1Click();
    void RinominaFotoCorrente1Click();
    void MenuItem3Click();
    void MenuItem5Click();

    tess::workspace::PhotoTable TabFotoOriginali;
    tess::workspace::PhotoTable TabFotoRidotte;
    tess::workspace::PhotoTable TabFotoThumbs;

    // Rebuilds a list from a folder text (see PhotoList.h).
    void CaricaListaFoto(const std::string& path, tess::workspace::PhotoTable& table);
    void CaricaImpostazioniFileIni();
    void SalvaImpostazioniIni();

    // The outcome of a rename: the name used (empty when the user did not confirm one) and
    // whether the file was renamed.
    struct RenameOutcome {
        std::string resultingName;
        bool renamed = false;
    };
    // Renames folder + oldName to folder + newName without replacing; an empty newName asks the
    // user for the base name (the extension is kept).
    RenameOutcome RinominaFoto(const std::string& folder, const std::string& oldName,
                               const std::string& newName);

    // True while a conversion pass runs: every command of the window is refused meanwhile,
    // but "Chiudi", the close box and Esc ask whether to stop it.
    bool isConverting() const { return m_converting; }
    // True once the user has chosen to stop the pass that runs. Both are safe from any thread.
    bool isStopping() const { return m_stopping; }

    // Draws at once the previews that moves of the lists have asked for (they are otherwise
    // drawn when the window next processes its events).
    void flushPreviews();
    tess::workspace::PreviewSlot& preview(int column) const { return *m_previews[column]; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class ConversionRun;

    void buildControls();
    void bindCommand(QAction* action, void (TRidFotoForm::*handler)());
    void bindCommand(QPushButton* button, void (TRidFotoForm::*handler)());
    void runHandler(void (TRidFotoForm::*handler)());
    void chooseFolder(QLineEdit* edit, const char* title, tess::workspace::PhotoTable& table);
    std::string text(const QLineEdit* edit) const;
    // The path and parameter boxes the settings file fills.
    std::array<QLineEdit*, tess::workspace::TextSettingCount> settingBoxes() const;
    // Says once a run that the settings cannot be kept because the start folder is gone.
    void tellIfSettingsFolderGone();
    void TabFotoOriginaliAfterScroll();
    void TabFotoRidotteAfterScroll();
    void TabFotoThumbsAfterScroll();
    // Asks whether to stop the conversion pass that runs, and stops it on OK.
    void askToStopConversion();
    // One more row of the pass is finished: the originals list and the bar move on.
    void conversionRowDone();

    TTabForm& m_tabForm;
    tess::platform::FileSystem& m_fs;
    std::atomic<bool> m_converting = false;
    std::atomic<bool> m_stopping = false;
    tess::workspace::ParallelConversion* m_pass = nullptr; // the pass that runs, if any
    bool m_askingToStop = false;

    QPushButton* ButtonCartellaOriginali = nullptr;
    QPushButton* ButtonCartellaRidotte = nullptr;
    QPushButton* ButtonCartellaThumbs = nullptr;
    QLineEdit* EditPercorsoOrigine = nullptr;
    QLineEdit* EditPercorsoRidotte = nullptr;
    QLineEdit* EditpercorsoThumbs = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLabel* Label7 = nullptr;
    QPushButton* ButtonRefreshOriginali = nullptr;
    QPushButton* ButtonRefreshRidotte = nullptr;
    QPushButton* ButtonRefreshThumbs = nullptr;
    QLineEdit* EditLRidotte = nullptr;
    QLineEdit* EditARidotte = nullptr;
    QLineEdit* EditCRidotte = nullptr;
    QLineEdit* EditLThumbs = nullptr;
    QLineEdit* EditAThumbs = nullptr;
    QLineEdit* EditCThumbs = nullptr;
    tess::workspace::PhotoGrid* DBGrid1 = nullptr;
    tess::workspace::PhotoGrid* DBGrid2 = nullptr;
    tess::workspace::PhotoGrid* DBGrid3 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* SpeedButton5 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QAction* SelezionaTutto1 = nullptr;
    QAction* DeselezionaTutto1 = nullptr;
    QAction* Cancella1 = nullptr;
    QAction* Converti1 = nullptr;
    QAction* RinominaFotoCorrente1 = nullptr;
    QAction* MenuItem1 = nullptr;
    QAction* MenuItem2 = nullptr;
    QAction* MenuItem3 = nullptr;
    QAction* MenuItem5 = nullptr;
    std::array<tess::workspace::PreviewSlot*, 3> m_previews{};
};
