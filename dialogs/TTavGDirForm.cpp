#include "dialogs/TTavGDirForm.h"

#include "dialogs/DialogPictures.h"
#include "dialogs/Fonts.h"
#include "dialogs/Placement.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>

#include <cctype>
#include <vector>

using tess::platform::asciiUpper;
using tess::platform::FileSystem;
using tess::platform::joinPath;
using tess::platform::pathTextFromBytes;
using tess::platform::textFromBytes;

namespace {

constexpr int kLineHeight = 16;
constexpr int kIndentPerLevel = 8;
constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;

bool isDriveLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool startsWithDrive(const std::string& path) {
    return path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':';
}

std::string driveRoot(char letter) {
    return std::string(1, asciiUpper(letter)) + ":\\";
}

// The folder text for a full path: "\" as separator and no trailing "\" except after the
// drive. Empty when the path is not a full one ("C:foo", "\\server\share", "foo").
std::string fullFolderPath(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    if (!startsWithDrive(path) || path.size() < 3 || path[2] != '\\')
        return {};
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

// "C:\a\b" gives "C:\", "a", "b".
std::vector<std::string> pathLevels(const std::string& folder) {
    std::vector<std::string> levels{folder.substr(0, 3)};
    std::size_t start = 3;
    while (start < folder.size()) {
        std::size_t end = folder.find('\\', start);
        if (end == std::string::npos)
            end = folder.size();
        if (end > start)
            levels.push_back(folder.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

// Indents each entry of the folder tree by its depth and gives every line the same height.
class FolderItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize natural = QStyledItemDelegate::sizeHint(option, index);
        return {natural.width() + indent(index), kLineHeight};
    }

private:
    static int indent(const QModelIndex& index) {
        return index.data(kDepthRole).toInt() * kIndentPerLevel;
    }
};

// A label that sizes itself to its text up to its maximum width; a longer path is shortened
// as Windows shortens it (see shortenPath), so that the drive and the last folders stay
// readable.
class PathLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* e) override {
        const QRect area = contentsRect();
        // One pixel more for the second strike of the last letter.
        const auto fits = [&](const QString& text) {
            return fontMetrics().horizontalAdvance(text) + 1 <= area.width();
        };
        if (fits(text())) {
            QLabel::paintEvent(e);
            return;
        }
        QPainter painter(this);
        style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(),
                              tess::ui::shortenPath(text(), fits), foregroundRole());
    }
};

QLabel* makeLabel(QLabel* label, const char* name, int x, int y) {
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    return label;
}

} // namespace

namespace tess::ui {

QString shortenPath(const QString& path, const std::function<bool(const QString&)>& fits) {
    if (fits(path))
        return path;
    const QStringList levels = path.split(u'\\', Qt::SkipEmptyParts);
    if (levels.isEmpty())
        return elideWithDots(path, fits);
    // Leaving out the first folders one by one; the drive stays.
    for (qsizetype first = 2; first < levels.size(); ++first) {
        const QString shortened =
            levels.first() + QStringLiteral("\\...\\") + levels.mid(first).join(u'\\');
        if (fits(shortened))
            return shortened;
    }
    const QString lead = QStringLiteral("...\\");
    return lead +
           elideWithDots(levels.last(), [&](const QString& last) { return fits(lead + last); });
}

} // namespace tess::ui

DirectoryListBox::DirectoryListBox(FileSystem& fs, QWidget* parent)
    : QListWidget(parent), m_fs(fs), m_directory(pathTextFromBytes(fs.currentDirectory())) {
    setItemDelegate(new FolderItemDelegate(this));
    setUniformItemSizes(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    rebuild();
}

void DirectoryListBox::setDirectory(const std::string& path) {
    std::string target;
    if (path.size() == 2 && startsWithDrive(path))
        setDrive(path[0]);
    else
        target = fullFolderPath(path);
    if (target.empty() || !m_fs.setCurrentDirectory(target))
        return;
    // The process's current directory is the folder's own spelling (letter case, no "..").
    const std::string opened = pathTextFromBytes(m_fs.currentDirectory());
    if (opened == m_directory)
        return;
    m_directory = opened;
    rebuild();
    emit changed();
}

char DirectoryListBox::drive() const {
    return asciiUpper(m_directory.empty() ? 'C' : m_directory[0]);
}

void DirectoryListBox::setDrive(char letter) {
    letter = asciiUpper(letter);
    if (!isDriveLetter(letter) || letter == drive())
        return;
    const std::string current = m_fs.currentDirectory();
    if (startsWithDrive(current) && asciiUpper(current[0]) == letter)
        setDirectory(current);
    else
        setDirectory(driveRoot(letter));
}

std::string DirectoryListBox::itemPath(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry ? entry->data(kPathRole).toString().toStdString() : std::string();
}

void DirectoryListBox::openItem(int row) {
    const std::string path = itemPath(row);
    if (!path.empty())
        setDirectory(path);
}

void DirectoryListBox::keyPressEvent(QKeyEvent* e) {
    // Enter opens the highlighted entry and goes no further, so it never presses the
    // dialog's default button.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        openItem(currentRow());
        e->accept();
        return;
    }
    QListWidget::keyPressEvent(e);
}

void DirectoryListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    const QModelIndex index = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && index.isValid()) {
        openItem(index.row());
        e->accept();
        return;
    }
    QListWidget::mouseDoubleClickEvent(e);
}

void DirectoryListBox::rebuild() {
    clear();
    if (!startsWithDrive(m_directory) || m_directory.size() < 3) {
        m_levelCount = 0;
        return;
    }
    const QIcon openFolder(tess::ui::folderPicture(true));
    const QIcon closedFolder(tess::ui::folderPicture(false));
    auto addEntry = [this](const QIcon& icon, const std::string& text, const std::string& path,
                           int depth) {
        auto* entry = new QListWidgetItem(icon, toQt(text), this);
        entry->setData(kPathRole, toQt(path));
        entry->setData(kDepthRole, depth);
    };

    const std::vector<std::string> levels = pathLevels(m_directory);
    std::string levelPath;
    for (std::size_t depth = 0; depth < levels.size(); ++depth) {
        levelPath = depth == 0 ? levels[0] : joinPath(levelPath, levels[depth]);
        addEntry(openFolder, levels[depth], levelPath, int(depth));
    }
    m_levelCount = int(levels.size());

    for (const auto& found : m_fs.findFiles(joinPath(m_directory, "*.*"))) {
        if ((found.attributes & tess::platform::AttrDirectory) == 0 || found.name == "." ||
            found.name == "..")
            continue;
        const std::string name = textFromBytes(found.name);
        addEntry(closedFolder, name, joinPath(m_directory, name), m_levelCount);
    }
    setCurrentRow(m_levelCount - 1);
}

TTavGDirForm::TTavGDirForm(QWidget* owner, const std::string& nomeDitta, std::string& percorso,
                           FileSystem& fs)
    : FixedDialog(owner, "TTavGDirForm", 416, 288), Percorso(percorso) {
    setWindowTitle(QStringLiteral("Selezione directory tabelle temporanee"));
    setFont(tess::ui::msSansSerif8Bold());
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::WindowText, Qt::black);
        colours.setColor(group, QPalette::ButtonText, Qt::black);
        colours.setColor(group, QPalette::Text, Qt::black);
    }
    setPalette(colours);
    Bevel1 = addBevel(8, 8, 393, 265);

    Label2 = makeLabel(new QLabel(QStringLiteral("Percorso:"), this), "Label2", 16, 16);
    Label1 = makeLabel(new PathLabel(QStringLiteral("..."), this), "Label1", 80, 16);
    Label3 = makeLabel(new QLabel(QStringLiteral("&Directory:"), this), "Label3", 17, 40);
    Label4 = makeLabel(new QLabel(QStringLiteral("&Unità disco:"), this), "Label4", 17, 230);

    DirectoryListBox1 = new DirectoryListBox(fs, this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setGeometry(18, 56, 143, 169);
    Label3->setBuddy(DirectoryListBox1);

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(18, 248, 143, 19);
    DriveComboBox1->setIconSize(QSize(16, 16));
    // Drives are listed in lower case ("c:"), as drive lists have always shown them; the item
    // keeps the drive as the file layer gives it.
    const QIcon driveIcon(tess::ui::drivePicture());
    for (const std::string& drive : fs.drives())
        DriveComboBox1->addItem(driveIcon, toQt(drive).toLower(), toQt(drive));
    const int startDrive =
        DriveComboBox1->findData(QString(QLatin1Char(DirectoryListBox1->drive())) + ':');
    DriveComboBox1->setCurrentIndex(startDrive >= 0 ? startDrive : 0);
    Label4->setBuddy(DriveComboBox1);
    // The open drive list draws its entries as the tree does, so that they get the dialog's
    // bold too (the style's own pop-up entries are menu items, which it draws on its own).
    DriveComboBox1->setItemDelegate(new QStyledItemDelegate(DriveComboBox1));

    addButtons(tess::ui::checkMarkIcon(), {317, 15}, {317, 55}, 77, 34);

    // Label1 may grow up to the OK button; a longer path is shortened in its middle.
    Label1->setMaximumWidth(OKBtn->x() - 6 - Label1->x());

    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, DirectoryListBox1);
    setTabOrder(DirectoryListBox1, DriveComboBox1);
    tess::ui::strikeBoldBitmapTextTwice(this);
    OKBtn->setFocus();

    connect(DirectoryListBox1, &DirectoryListBox::changed, this,
            &TTavGDirForm::DirectoryListBox1Change);
    connect(DirectoryListBox1, &QListWidget::clicked, this, &TTavGDirForm::DirectoryListBox1Change);
    connect(DriveComboBox1, &QComboBox::currentIndexChanged, this,
            &TTavGDirForm::DriveComboBox1Change);

    setWindowTitle(QStringLiteral("Selezione directory tabelle temporanee - Ditta: ") +
                   toQt(nomeDitta));
    // The path is opened before and after choosing its drive: choosing another drive moves the
    // tree to that drive's current folder, and the second opening brings it back to the path.
    DirectoryListBox1->setDirectory(Percorso);
    selectDriveOf(Percorso);
    DirectoryListBox1->setDirectory(Percorso);
    Label1->setText(toQt(DirectoryListBox1->directory()));
    Esito = "ok";
    fitLabels();
}

void TTavGDirForm::OKBtnClick() {
    Percorso = DirectoryListBox1->directory() + '\\';
    Esito = "ok";
    finish(QDialog::Accepted);
}

void TTavGDirForm::CancelBtnClick() {
    Esito = "cancel";
    finish(QDialog::Rejected);
}

void TTavGDirForm::DirectoryListBox1Change() {
    Label1->setText(toQt(DirectoryListBox1->directory()));
    fitLabels();
}

void TTavGDirForm::DriveComboBox1Change() {
    const QString drive = DriveComboBox1->currentData().toString();
    if (!drive.isEmpty())
        DirectoryListBox1->setDrive(drive.at(0).toLatin1());
}

void TTavGDirForm::selectDriveOf(const std::string& path) {
    if (!startsWithDrive(path))
        return;
    const int index = DriveComboBox1->findData(QString(QLatin1Char(asciiUpper(path[0]))) + ':',
                                               Qt::UserRole, Qt::MatchFixedString);
    if (index >= 0)
        DriveComboBox1->setCurrentIndex(index);
}

void TTavGDirForm::showEvent(QShowEvent* e) {
    // The dialog opens in the middle of the screen, wherever its owner stands.
    tess::ui::centreOnScreen(this);
    FixedDialog::showEvent(e);
}

void TTavGDirForm::fitLabels() {
    // The font is set while the controls are still being built.
    if (!Label4)
        return;
    // One pixel more for the second strike of the last letter of a bold bitmap face.
    for (QLabel* label : {Label1, Label2, Label3, Label4}) {
        label->adjustSize();
        label->resize(label->width() + 1, label->height());
    }
    const bool shortened = Label1->sizeHint().width() > Label1->width();
    Label1->setToolTip(shortened ? Label1->text() : QString());
}
