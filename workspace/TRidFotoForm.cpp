#include "workspace/TRidFotoForm.h"

#include "app/TTabForm.h"
#include "dialogs/Fonts.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/SingleLineBox.h"
#include "dialogs/TTavGDirForm.h"
#include "platform/FileSystem.h"
#include "workspace/Marks.h"
#include "workspace/PhotoGrid.h"
#include "workspace/PhotoGridDelegate.h"
#include "workspace/PhotoGridModel.h"
#include "workspace/PhotoList.h"
#include "workspace/Preview.h"
#include "workspace/RefreshGlyph.h"
#include "workspace/Settings.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

using tess::workspace::PhotoGrid;
using tess::workspace::PhotoGridDelegate;
using tess::workspace::PhotoGridModel;
using tess::workspace::PhotoTable;
using tess::workspace::PreviewSlot;

namespace {

// The window is 800 x 580 with its frame; this is its client area.
constexpr int kClientWidth = 792;
constexpr int kClientHeight = 553;

template <class W> W* place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// A flat button: a caption that takes no keyboard focus.
QPushButton* flatButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int height) {
    auto* button = place(new QPushButton(caption, parent), name, left, top, width, height);
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

QPushButton* refreshButton(QWidget* parent, const char* name, int left, int top) {
    auto* button = place(new QPushButton(parent), name, left, top, 21, 21);
    button->setIcon(QPixmap::fromImage(tess::workspace::refreshGlyph()));
    button->setIconSize(QSize(11, 11));
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* editBox(QWidget* parent, const char* name, int left, int top, int width, int height) {
    return place(new QLineEdit(parent), name, left, top, width, height);
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption) {
    auto* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

TRidFotoForm::TRidFotoForm(QWidget* owner, TTabForm& tabForm, tess::platform::FileSystem& fs)
    : QDialog(owner), m_tabForm(tabForm), m_fs(fs) {
    buildControls();
    for (QLineEdit* box : settingBoxes())
        tess::ui::keepToOneLine(box);
    setWindowTitle(QStringLiteral("Ridimensionamento Foto - Ditta: ") +
                   QString::fromStdString(m_tabForm.NomeDitta));
    CaricaImpostazioniFileIni();
    CaricaListaFoto(text(EditPercorsoOrigine), TabFotoOriginali);
    CaricaListaFoto(text(EditPercorsoRidotte), TabFotoRidotte);
    CaricaListaFoto(text(EditpercorsoThumbs), TabFotoThumbs);
}

TRidFotoForm::~TRidFotoForm() {
    // FormDestroy: the settings are written while the controls still hold their values; a
    // failure is reported and the window goes all the same.
    tess::ui::runCommand(parentWidget(), [this] { SalvaImpostazioniIni(); });
}

void TRidFotoForm::buildControls() {
    setObjectName(QStringLiteral("RidFotoForm"));
    setFont(tess::ui::tahoma8());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(kClientWidth, kClientHeight);

    ButtonCartellaOriginali = flatButton(this, "ButtonCartellaOriginali",
                                         QStringLiteral("Cartella Foto &Origine"), 4, 5, 261, 17);
    ButtonCartellaRidotte = flatButton(this, "ButtonCartellaRidotte",
                                       QStringLiteral("Cartella Foto &Ridotte"), 265, 5, 261, 17);
    ButtonCartellaThumbs = flatButton(this, "ButtonCartellaThumbs",
                                      QStringLiteral("Cartella Foto &Thumbs"), 526, 5, 261, 17);
    EditPercorsoOrigine = editBox(this, "EditPercorsoOrigine", 4, 22, 260, 21);
    EditPercorsoRidotte = editBox(this, "EditPercorsoRidotte", 264, 22, 261, 21);
    EditpercorsoThumbs = editBox(this, "EditpercorsoThumbs", 525, 22, 261, 21);

    CheckBox1 = place(new QCheckBox(QStringLiteral("&Disabilita Anteprima Foto Origine"), this),
                      "CheckBox1", 4, 46, 189, 17);
    Label7 = place(new QLabel(QStringLiteral("Nota: tutte le operazioni svolte sulle foto ridotte "
                                             "vengono effettuante anche sulle foto thumbs"),
                              this),
                   "Label7", 6, 64, 234, 26);
    Label7->setWordWrap(true);
    Label7->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette blue = Label7->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label7->setPalette(blue);

    ButtonRefreshOriginali = refreshButton(this, "ButtonRefreshOriginali", 243, 73);
    flatButton(this, "SpeedButton4", QStringLiteral("Parametri Foto Ridotte"), 265, 55, 234, 17);
    flatButton(this, "ButtonLRidotte", QStringLiteral("L"), 265, 75, 23, 17)
        ->setToolTip(QStringLiteral("Larghezza"));
    EditLRidotte = editBox(this, "EditLRidotte", 289, 73, 54, 21);
    flatButton(this, "ButtonARidotte", QStringLiteral("A"), 344, 75, 23, 17)
        ->setToolTip(QStringLiteral("Altezza"));
    EditARidotte = editBox(this, "EditARidotte", 368, 73, 54, 21);
    flatButton(this, "ButtonCRidotte", QStringLiteral("C"), 423, 75, 23, 17)
        ->setToolTip(QStringLiteral("Compressione"));
    EditCRidotte = editBox(this, "EditCRidotte", 447, 73, 53, 21);
    ButtonRefreshRidotte = refreshButton(this, "ButtonRefreshRidotte", 502, 73);
    flatButton(this, "SpeedButton7", QStringLiteral("Parametri Foto Thumbs"), 527, 55, 157, 17);
    flatButton(this, "ButtonLThumbs", QStringLiteral("L"), 527, 75, 23, 17)
        ->setToolTip(QStringLiteral("Larghezza"));
    EditLThumbs = editBox(this, "EditLThumbs", 551, 73, 54, 21);
    flatButton(this, "ButtonAThumbs", QStringLiteral("A"), 606, 75, 23, 17)
        ->setToolTip(QStringLiteral("Altezza"));
    EditAThumbs = editBox(this, "EditAThumbs", 630, 73, 54, 21);
    flatButton(this, "ButtonCThumbs", QStringLiteral("C"), 685, 75, 23, 17)
        ->setToolTip(QStringLiteral("Compressione"));
    EditCThumbs = editBox(this, "EditCThumbs", 709, 73, 52, 21);
    ButtonRefreshThumbs = refreshButton(this, "ButtonRefreshThumbs", 763, 73);

    auto makeGrid = [this](PhotoTable& table, const char* name, int left,
                           PhotoGridDelegate::Mode mode) {
        auto* grid = new PhotoGrid(new PhotoGridModel(table, this), this);
        place(grid, name, left, 96, 260, 236);
        grid->setItemDelegate(new PhotoGridDelegate(mode, grid));
        return grid;
    };
    DBGrid1 = makeGrid(TabFotoOriginali, "DBGrid1", 4, PhotoGridDelegate::Mode::Marks);
    DBGrid2 = makeGrid(TabFotoRidotte, "DBGrid2", 264, PhotoGridDelegate::Mode::Marks);
    DBGrid3 = makeGrid(TabFotoThumbs, "DBGrid3", 525, PhotoGridDelegate::Mode::Plain);

    ProgressBar1 = place(new QProgressBar(this), "ProgressBar1", 4, 337, 781, 10);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    auto makeSlot = [this](const char* imageName, const char* labelName, int left) {
        auto* image = place(new QLabel(this), imageName, left, 354, 201, 169);
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto* label = place(new QLabel(QStringLiteral("Anteprima non disponibile"), this),
                            labelName, left + 40, 433, 122, 13);
        // The label sizes itself to its text, which may come out a little wider here.
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        return std::pair{image, label};
    };
    std::tie(Image1, Label3) = makeSlot("Image1", "Label3", 33);
    std::tie(Image2, Label4) = makeSlot("Image2", "Label4", 297);
    std::tie(Image3, Label5) = makeSlot("Image3", "Label5", 561);

    SpeedButton5 = flatButton(this, "SpeedButton5", QStringLiteral("Ch&iudi"), 4, 533, 781, 19);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    SelezionaTutto1 = menuItem(PopupMenu1, "SelezionaTutto1", QStringLiteral("Seleziona Tutto"));
    DeselezionaTutto1 =
        menuItem(PopupMenu1, "DeselezionaTutto1", QStringLiteral("Deseleziona Tutto"));
    Cancella1 = menuItem(PopupMenu1, "Cancella1", QStringLiteral("Cancella (Foto Corrente)"));
    Converti1 = menuItem(PopupMenu1, "Converti1", QStringLiteral("Converti"));
    RinominaFotoCorrente1 =
        menuItem(PopupMenu1, "RinominaFotoCorrente1", QStringLiteral("Rinomina (Foto Corrente)"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    MenuItem1 = menuItem(PopupMenu2, "MenuItem1", QStringLiteral("Seleziona Tutto"));
    MenuItem2 = menuItem(PopupMenu2, "MenuItem2", QStringLiteral("Deseleziona Tutto"));
    MenuItem3 = menuItem(PopupMenu2, "MenuItem3", QStringLiteral("Cancella (Foto Corrente)"));
    MenuItem5 = menuItem(PopupMenu2, "MenuItem5", QStringLiteral("Rinomina (Foto Corrente)"));
    DBGrid1->setPopupMenu(PopupMenu1);
    DBGrid2->setPopupMenu(PopupMenu2);

    // Keyboard order: the path boxes, the size boxes, the check box, the refresh buttons,
    // then the two quality boxes.
    QWidget* order[] = {EditPercorsoOrigine,  EditPercorsoRidotte, EditpercorsoThumbs,
                        EditLRidotte,         EditARidotte,        EditLThumbs,
                        EditAThumbs,          CheckBox1,           ButtonRefreshOriginali,
                        ButtonRefreshRidotte, ButtonRefreshThumbs, EditCRidotte,
                        EditCThumbs};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    // The previews: each list's path box and current name, read when the preview is drawn.
    // Each preview reads its list's path box and current name when it is drawn.
    const auto photoOf = [this](const QLineEdit* folder, const PhotoTable& table) {
        return [this, folder, &table]() -> std::optional<std::string> {
            return text(folder) + table.currentName();
        };
    };
    const auto originalOf = photoOf(EditPercorsoOrigine, TabFotoOriginali);
    m_previews[0] = new PreviewSlot(
        Image1, Label3, m_fs,
        [this, originalOf]() -> std::optional<std::string> {
            if (CheckBox1->isChecked()) // the originals preview is switched off
                return std::nullopt;
            return originalOf();
        },
        this);
    m_previews[1] =
        new PreviewSlot(Image2, Label4, m_fs, photoOf(EditPercorsoRidotte, TabFotoRidotte), this);
    m_previews[2] =
        new PreviewSlot(Image3, Label5, m_fs, photoOf(EditpercorsoThumbs, TabFotoThumbs), this);
    TabFotoOriginali.setAfterScroll([this] { TabFotoOriginaliAfterScroll(); });
    TabFotoRidotte.setAfterScroll([this] { TabFotoRidotteAfterScroll(); });
    TabFotoThumbs.setAfterScroll([this] { TabFotoThumbsAfterScroll(); });

    // The check box's handler runs on every change of its state, the program's included.
    connect(CheckBox1, &QCheckBox::toggled, this,
            [this] { runHandler(&TRidFotoForm::CheckBox1Click); });
    bindCommand(ButtonCartellaOriginali, &TRidFotoForm::ButtonCartellaOriginaliClick);
    bindCommand(ButtonCartellaRidotte, &TRidFotoForm::ButtonCartellaRidotteClick);
    bindCommand(ButtonCartellaThumbs, &TRidFotoForm::ButtonCartellaThumbsClick);
    bindCommand(ButtonRefreshOriginali, &TRidFotoForm::ButtonRefreshOriginaliClick);
    bindCommand(ButtonRefreshRidotte, &TRidFotoForm::ButtonRefreshRidotteClick);
    bindCommand(ButtonRefreshThumbs, &TRidFotoForm::ButtonRefreshThumbsClick);
    bindCommand(SpeedButton5, &TRidFotoForm::SpeedButton5Click);
    bindCommand(SelezionaTutto1, &TRidFotoForm::SelezionaTutto1Click);
    bindCommand(DeselezionaTutto1, &TRidFotoForm::DeselezionaTutto1Click);
    bindCommand(Cancella1, &TRidFotoForm::Cancella1Click);
    bindCommand(Converti1, &TRidFotoForm::Converti1Click);
    bindCommand(RinominaFotoCorrente1, &TRidFotoForm::RinominaFotoCorrente1Click);
    bindCommand(MenuItem1, &TRidFotoForm::MenuItem1Click);
    bindCommand(MenuItem2, &TRidFotoForm::MenuItem2Click);
    bindCommand(MenuItem3, &TRidFotoForm::MenuItem3Click);
    bindCommand(MenuItem5, &TRidFotoForm::MenuItem5Click);
    connect(DBGrid1, &PhotoGrid::gridDoubleClicked, this,
            [this] { runHandler(&TRidFotoForm::DBGrid1DblClick); });
    connect(DBGrid2, &PhotoGrid::gridDoubleClicked, this,
            [this] { runHandler(&TRidFotoForm::DBGrid2DblClick); });
}

void TRidFotoForm::bindCommand(QAction* action, void (TRidFotoForm::*handler)()) {
    connect(action, &QAction::triggered, this, [this, handler] { runHandler(handler); });
}

void TRidFotoForm::bindCommand(QPushButton* button, void (TRidFotoForm::*handler)()) {
    connect(button, &QPushButton::clicked, this, [this, handler] { runHandler(handler); });
}

void TRidFotoForm::runHandler(void (TRidFotoForm::*handler)()) {
    // While a conversion runs the window only paints: every command is refused, and "Chiudi"
    // asks whether to stop the run instead.
    if (m_converting) {
        if (handler == &TRidFotoForm::SpeedButton5Click)
            askToStopConversion();
        return;
    }
    tess::ui::runCommand(this, [this, handler] { (this->*handler)(); });
}

std::string TRidFotoForm::text(const QLineEdit* edit) const {
    return edit->text().toStdString();
}

void TRidFotoForm::flushPreviews() {
    for (PreviewSlot* slot : m_previews)
        slot->flush();
}

void TRidFotoForm::closeEvent(QCloseEvent* event) {
    if (m_converting) {
        // The window stays open even when the run is stopped: closing it takes a new close.
        event->ignore();
        askToStopConversion();
        return;
    }
    QDialog::closeEvent(event);
}

void TRidFotoForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The workspace opens centred on the screen, not on the window that opened it.
    if (!event->spontaneous()) {
        if (QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
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

void TRidFotoForm::CaricaListaFoto(const std::string& path, PhotoTable& table) {
    tess::workspace::CaricaListaFoto(m_fs, path, table);
}

std::array<QLineEdit*, tess::workspace::TextSettingCount> TRidFotoForm::settingBoxes() const {
    // In the order of the settings file's text keys.
    return {EditPercorsoOrigine, EditPercorsoRidotte, EditpercorsoThumbs,
            EditLRidotte,        EditARidotte,        EditCRidotte,
            EditLThumbs,         EditAThumbs,         EditCThumbs};
}

void TRidFotoForm::tellIfSettingsFolderGone() {
    if (!m_tabForm.settingsFolderGoneTold &&
        tess::workspace::settingsFolderGone(m_fs, m_tabForm.FileIni)) {
        m_tabForm.settingsFolderGoneTold = true;
        tess::ui::notice(this, QString::fromUtf8(tess::workspace::kSettingsFolderGone));
    }
}

void TRidFotoForm::CaricaImpostazioniFileIni() {
    tellIfSettingsFolderGone();
    const tess::workspace::Settings settings =
        tess::workspace::readSettings(m_fs, m_tabForm.FileIni);
    const auto boxes = settingBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(QString::fromStdString(settings.texts[i]));
    CheckBox1->setChecked(settings.originalsPreviewDisabled);
}

void TRidFotoForm::SalvaImpostazioniIni() {
    tellIfSettingsFolderGone();
    tess::workspace::Settings settings;
    const auto boxes = settingBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        settings.texts[i] = text(boxes[i]);
    settings.originalsPreviewDisabled = CheckBox1->isChecked();
    tess::workspace::writeSettings(m_fs, m_tabForm.FileIni, settings);
}

void TRidFotoForm::ButtonRefreshOriginaliClick() {
    CaricaListaFoto(text(EditPercorsoOrigine), TabFotoOriginali);
}

void TRidFotoForm::ButtonRefreshRidotteClick() {
    CaricaListaFoto(text(EditPercorsoRidotte), TabFotoRidotte);
}

void TRidFotoForm::ButtonRefreshThumbsClick() {
    CaricaListaFoto(text(EditpercorsoThumbs), TabFotoThumbs);
}

void TRidFotoForm::SpeedButton5Click() {
    close();
}

// --- Folders --------------------------------------------------------------------------------

void TRidFotoForm::chooseFolder(QLineEdit* edit, const char* title, PhotoTable& table) {
    std::string path = text(edit);
    if (path.empty())
        path = "c:\\windows";
    TTavGDirForm dialog(this, m_tabForm.NomeDitta, path, m_fs);
    dialog.setWindowTitle(QString::fromUtf8(title));
    dialog.exec();
    if (dialog.Esito == "ok") {
        edit->setText(QString::fromStdString(path));
        CaricaListaFoto(text(edit), table);
    }
}

void TRidFotoForm::ButtonCartellaOriginaliClick() {
    chooseFolder(EditPercorsoOrigine, "Selezione directory foto Originali", TabFotoOriginali);
}

void TRidFotoForm::ButtonCartellaRidotteClick() {
    chooseFolder(EditPercorsoRidotte, "Selezione directory foto Ridotte", TabFotoRidotte);
}

void TRidFotoForm::ButtonCartellaThumbsClick() {
    chooseFolder(EditpercorsoThumbs, "Selezione directory foto Thumbs", TabFotoThumbs);
}

// --- Previews -------------------------------------------------------------------------------

void TRidFotoForm::TabFotoOriginaliAfterScroll() {
    m_previews[0]->schedule();
}

void TRidFotoForm::TabFotoRidotteAfterScroll() {
    m_previews[1]->schedule();
}

void TRidFotoForm::TabFotoThumbsAfterScroll() {
    m_previews[2]->schedule();
}

void TRidFotoForm::CheckBox1Click() {
    m_previews[0]->schedule();
}

// --- Marks ----------------------------------------------------------------------------------

void TRidFotoForm::DBGrid1DblClick() {
    tess::workspace::toggleMark(TabFotoOriginali);
}

void TRidFotoForm::DBGrid2DblClick() {
    tess::workspace::toggleMark(TabFotoRidotte);
}

void TRidFotoForm::SelezionaTutto1Click() {
    tess::workspace::markAll(TabFotoOriginali, 1);
}

void TRidFotoForm::DeselezionaTutto1Click() {
    tess::workspace::markAll(TabFotoOriginali, 0);
}

void TRidFotoForm::MenuItem1Click() {
    tess::workspace::markAll(TabFotoRidotte, 1);
}

void TRidFotoForm::MenuItem2Click() {
    tess::workspace::markAll(TabFotoRidotte, 0);
}
