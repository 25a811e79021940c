#include "window/TRidFotoForm.h"

#include "dialogs/Fonts.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/Placement.h"
#include "dialogs/SingleLineBox.h"
#include "dialogs/TTavGDirForm.h"
#include "window/Controls.h"
#include "window/ConversionRun.h"
#include "window/PhotoGrid.h"
#include "window/Preview.h"
#include "window/WindowPrompt.h"
#include "workspace/Marks.h"
#include "workspace/PhotoCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

using tess::workspace::Column;
using tess::workspace::editBox;
using tess::workspace::flatButton;
using tess::workspace::menuItem;
using tess::workspace::PhotoColumn;
using tess::workspace::PhotoCommands;
using tess::workspace::place;

namespace {

// The window is 800 x 580 with its frame; this is its client area.
constexpr int kClientWidth = 792;
constexpr int kClientHeight = 553;

constexpr PhotoColumn::Layout kColumns[] = {
    {"ButtonCartellaOriginali", "Cartella Foto &Origine", "Selezione directory foto Originali", 4,
     "EditPercorsoOrigine", 4, 260, "ButtonRefreshOriginali", 243, "DBGrid1", true, "Image1",
     "Label3", 33},
    {"ButtonCartellaRidotte", "Cartella Foto &Ridotte", "Selezione directory foto Ridotte", 265,
     "EditPercorsoRidotte", 264, 261, "ButtonRefreshRidotte", 502, "DBGrid2", true, "Image2",
     "Label4", 297},
    {"ButtonCartellaThumbs", "Cartella Foto &Thumbs", "Selezione directory foto Thumbs", 526,
     "EditpercorsoThumbs", 525, 261, "ButtonRefreshThumbs", 763, "DBGrid3", false, "Image3",
     "Label5", 561},
};

} // namespace

TRidFotoForm::TRidFotoForm(QWidget* owner, tess::workspace::Project project,
                           tess::platform::FileSystem& fs)
    : QDialog(owner), m_project(std::move(project)), m_fs(fs), m_prompt(this),
      m_commands(m_fs, m_prompt) {
    buildControls();
    for (QLineEdit* box : settingBoxes())
        tess::ui::keepToOneLine(box);
    bindCommands();
    setWindowTitle(QStringLiteral("Ridimensionamento Foto - Ditta: ") +
                   QString::fromStdString(m_project.NomeDitta));
    CaricaImpostazioniFileIni();
    for (PhotoColumn& column : m_columns)
        column.list.rebuild(m_fs, column.folderText());
}

TRidFotoForm::~TRidFotoForm() = default;

void TRidFotoForm::buildControls() {
    setObjectName(QStringLiteral("RidFotoForm"));
    setFont(tess::ui::tahoma8());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(kClientWidth, kClientHeight);

    auto* previews = new tess::workspace::PreviewBoard(m_fs, tess::workspace::ColumnCount, this);
    for (int c = 0; c < tess::workspace::ColumnCount; ++c) {
        // The originals preview can be switched off.
        std::function<bool()> shown;
        if (c == Column::Originals)
            shown = [this] { return !CheckBox1->isChecked(); };
        m_columns[c].build(this, *previews, kColumns[c], std::move(shown));
    }

    CheckBox1 = place(new QCheckBox(QStringLiteral("&Disabilita Anteprima Foto Origine"), this),
                      "CheckBox1", 4, 46, 189, 17);
    auto* note = place(new QLabel(QStringLiteral("Nota: tutte le operazioni svolte sulle foto "
                                                 "ridotte vengono effettuante anche sulle foto "
                                                 "thumbs"),
                                  this),
                       "Label7", 6, 64, 234, 26);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette blue = note->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    note->setPalette(blue);

    // The parameter boxes, each after its letter: L(arghezza), A(ltezza), C(ompressione).
    const auto parameter = [this](const char* button, const char* letter, const char* tip, int left,
                                  const char* edit, int width) {
        flatButton(this, button, QString::fromLatin1(letter), left, 75, 23, 17)
            ->setToolTip(QString::fromLatin1(tip));
        return editBox(this, edit, left + 24, 73, width, 21);
    };
    flatButton(this, "SpeedButton4", QStringLiteral("Parametri Foto Ridotte"), 265, 55, 234, 17);
    EditLRidotte = parameter("ButtonLRidotte", "L", "Larghezza", 265, "EditLRidotte", 54);
    EditARidotte = parameter("ButtonARidotte", "A", "Altezza", 344, "EditARidotte", 54);
    EditCRidotte = parameter("ButtonCRidotte", "C", "Compressione", 423, "EditCRidotte", 53);
    flatButton(this, "SpeedButton7", QStringLiteral("Parametri Foto Thumbs"), 527, 55, 157, 17);
    EditLThumbs = parameter("ButtonLThumbs", "L", "Larghezza", 527, "EditLThumbs", 54);
    EditAThumbs = parameter("ButtonAThumbs", "A", "Altezza", 606, "EditAThumbs", 54);
    EditCThumbs = parameter("ButtonCThumbs", "C", "Compressione", 685, "EditCThumbs", 52);

    ProgressBar1 = place(new QProgressBar(this), "ProgressBar1", 4, 337, 781, 10);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    SpeedButton5 = flatButton(this, "SpeedButton5", QStringLiteral("Ch&iudi"), 4, 533, 781, 19);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    m_columns[Column::Originals].grid->setPopupMenu(PopupMenu1);
    m_columns[Column::Reduced].grid->setPopupMenu(PopupMenu2);

    // Keyboard order: the path boxes, the size boxes, the check box, the refresh buttons,
    // then the two quality boxes.
    QWidget* order[] = {
        m_columns[0].pathBox, m_columns[1].pathBox, m_columns[2].pathBox, EditLRidotte,
        EditARidotte,         EditLThumbs,          EditAThumbs,          CheckBox1,
        m_columns[0].refresh, m_columns[1].refresh, m_columns[2].refresh, EditCRidotte,
        EditCThumbs};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TRidFotoForm::bindCommands() {
    for (int c = 0; c < tess::workspace::ColumnCount; ++c) {
        const auto column = Column(c);
        bind(m_columns[c].folderButton, &QPushButton::clicked,
             [this, column] { chooseFolder(column); });
        bind(m_columns[c].refresh, &QPushButton::clicked, [this, column] { refreshList(column); });
    }
    bind(m_columns[Column::Originals].grid, &tess::workspace::PhotoGrid::gridDoubleClicked,
         [this] { DBGrid1DblClick(); });
    bind(m_columns[Column::Reduced].grid, &tess::workspace::PhotoGrid::gridDoubleClicked,
         [this] { DBGrid2DblClick(); });
    // The check box's handler runs on every change of its state, the program's included.
    bind(CheckBox1, &QCheckBox::toggled, [this] { CheckBox1Click(); });
    // "Chiudi" is not refused during a run: closing then asks whether to stop the run.
    connect(SpeedButton5, &QPushButton::clicked, this,
            [this] { tess::ui::runCommand(this, [this] { SpeedButton5Click(); }); });

    const struct {
        QMenu* menu;
        const char* name;
        const char* caption;
        void (TRidFotoForm::*handler)();
    } items[] = {
        {PopupMenu1, "SelezionaTutto1", "Seleziona Tutto", &TRidFotoForm::SelezionaTutto1Click},
        {PopupMenu1, "DeselezionaTutto1", "Deseleziona Tutto",
         &TRidFotoForm::DeselezionaTutto1Click},
        {PopupMenu1, "Cancella1", "Cancella (Foto Corrente)", &TRidFotoForm::Cancella1Click},
        {PopupMenu1, "Converti1", "Converti", &TRidFotoForm::Converti1Click},
        {PopupMenu1, "RinominaFotoCorrente1", "Rinomina (Foto Corrente)",
         &TRidFotoForm::RinominaFotoCorrente1Click},
        {PopupMenu2, "MenuItem1", "Seleziona Tutto", &TRidFotoForm::MenuItem1Click},
        {PopupMenu2, "MenuItem2", "Deseleziona Tutto", &TRidFotoForm::MenuItem2Click},
        {PopupMenu2, "MenuItem3", "Cancella (Foto Corrente)", &TRidFotoForm::MenuItem3Click},
        {PopupMenu2, "MenuItem5", "Rinomina (Foto Corrente)", &TRidFotoForm::MenuItem5Click},
    };
    for (const auto& item : items) {
        const auto handler = item.handler;
        bind(menuItem(item.menu, item.name, QString::fromLatin1(item.caption)), &QAction::triggered,
             [this, handler] { (this->*handler)(); });
    }
}

void TRidFotoForm::runHandler(const std::function<void()>& handler) {
    // While a conversion runs the window only paints: every command is refused.
    if (m_run)
        return;
    tess::ui::runCommand(this, handler);
}

tess::workspace::PreviewSlot& TRidFotoForm::preview(int column) const {
    return *m_columns[std::size_t(column)].preview;
}

void TRidFotoForm::closeEvent(QCloseEvent* event) {
    if (tess::workspace::ConversionRun* run = m_run) {
        // The window stays open even when the run is stopped: closing it takes a new close.
        event->ignore();
        run->askToStop();
        return;
    }
    // The settings are written while the controls still hold their values; a failure is
    // reported and the window goes all the same.
    SalvaImpostazioniIni();
    QDialog::closeEvent(event);
}

void TRidFotoForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The workspace opens centred on the screen, not on the window that opened it.
    if (!event->spontaneous())
        tess::ui::centreOnScreen(this);
}

void TRidFotoForm::keyPressEvent(QKeyEvent* event) {
    // Esc does not close the workspace: only "Chiudi" and the close box do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// --- Lists and settings ---------------------------------------------------------------------

std::array<QLineEdit*, tess::workspace::TextSettingCount> TRidFotoForm::settingBoxes() const {
    // In the order of the settings file's text keys.
    return {m_columns[0].pathBox, m_columns[1].pathBox, m_columns[2].pathBox,
            EditLRidotte,         EditARidotte,         EditCRidotte,
            EditLThumbs,          EditAThumbs,          EditCThumbs};
}

std::array<std::string, tess::workspace::TextSettingCount> TRidFotoForm::settingTexts() const {
    std::array<std::string, tess::workspace::TextSettingCount> texts;
    const auto boxes = settingBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        texts[i] = boxes[i]->text().toStdString();
    return texts;
}

void TRidFotoForm::tellIfSettingsFolderGone() {
    if (!m_settingsFolderGoneTold && tess::workspace::settingsFolderGone(m_fs, m_project.FileIni)) {
        m_settingsFolderGoneTold = true;
        tess::ui::notice(this, QString::fromUtf8(tess::workspace::kSettingsFolderGone));
    }
}

void TRidFotoForm::CaricaImpostazioniFileIni() {
    tellIfSettingsFolderGone();
    const tess::workspace::Settings settings =
        tess::workspace::readSettings(m_fs, m_project.FileIni);
    const auto boxes = settingBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(QString::fromStdString(settings.texts[i]));
    CheckBox1->setChecked(settings.originalsPreviewDisabled);
}

void TRidFotoForm::SalvaImpostazioniIni() {
    tellIfSettingsFolderGone();
    tess::workspace::saveSettings(m_fs, m_project.FileIni, {settingTexts(), CheckBox1->isChecked()},
                                  m_prompt);
}

void TRidFotoForm::refreshList(Column column) {
    m_columns[column].list.rebuild(m_fs, m_columns[column].folderText());
}

void TRidFotoForm::SpeedButton5Click() {
    close();
}

void TRidFotoForm::chooseFolder(Column column) {
    PhotoColumn& target = m_columns[column];
    std::string path = target.folderText();
    if (path.empty())
        path = "c:\\windows";
    TTavGDirForm dialog(this, m_project.NomeDitta, path, m_fs);
    dialog.setWindowTitle(QString::fromUtf8(target.folderDialogTitle));
    dialog.exec();
    if (dialog.Esito == "ok") {
        target.pathBox->setText(QString::fromStdString(path));
        refreshList(column);
    }
}

// --- Previews and marks ---------------------------------------------------------------------

void TRidFotoForm::CheckBox1Click() {
    m_columns[Column::Originals].preview->schedule();
}

void TRidFotoForm::toggleMark(Column column) {
    tess::workspace::toggleMark(m_columns[column].list.table);
}

void TRidFotoForm::markAll(Column column, bool marked) {
    tess::workspace::markAll(m_columns[column].list.table, marked ? 1 : 0);
}

// --- Delete and rename ----------------------------------------------------------------------

void TRidFotoForm::Cancella1Click() {
    m_commands.deleteOriginal(m_columns[Column::Originals].at());
}

void TRidFotoForm::MenuItem3Click() {
    m_commands.deleteReduced(m_columns[Column::Reduced].at(), m_columns[Column::Thumbnails].at());
}

void TRidFotoForm::RinominaFotoCorrente1Click() {
    m_commands.renameOriginal(m_columns[Column::Originals].at());
}

void TRidFotoForm::MenuItem5Click() {
    m_commands.renameReduced(m_columns[Column::Reduced].at(), m_columns[Column::Thumbnails].at());
}
