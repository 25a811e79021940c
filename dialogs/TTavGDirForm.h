#pragma once

#include "dialogs/FixedDialog.h"

#include <QDialog>
#include <QListWidget>

#include <functional>
#include <string>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace tess::platform {
class FileSystem;
}

namespace tess::ui {

// A folder path too long for its place (`fits` says what fits), shortened as Windows shortens
// paths: the drive, "..." and as many of the last folders as fit ("C:\...\Foto\Mare"); else
// "..." and the last folder ("...\Mare"), cut at its end if need be ("...\Ma...").
QString shortenPath(const QString& path, const std::function<bool(const QString&)>& fits);

} // namespace tess::ui

// A folder tree in one column: the levels of the current folder's path from the drive's root
// down (open folders, each indented by its depth), then the current folder's subfolders (closed
// folders, one level deeper). Double-click or Enter opens the entry under the mouse or the
// highlighted one; a single click only highlights. Opening a folder makes it the process's
// current directory. Folder names that are not UTF-8 are shown, and given in paths, by their
// Windows-1252 reading, by which the file layer finds them again: what the tree gives can be
// shown, typed and stored.
class DirectoryListBox : public QListWidget {
    Q_OBJECT

public:
    // Starts at the process's current directory.
    DirectoryListBox(tess::platform::FileSystem& fs, QWidget* parent = nullptr);

    // The current folder, without a trailing "\" except for a drive's root ("C:\").
    const std::string& directory() const { return m_directory; }
    // Opens the folder a full path names ("C:\a\b", with or without a trailing "\"), or a
    // drive's current folder for a bare "C:". Anything else, a missing folder included, leaves
    // the tree where it is, without an error.
    void setDirectory(const std::string& path);

    // The current folder's drive letter, upper case.
    char drive() const;
    // Moves to another drive: to the process's current directory when that is on the drive,
    // otherwise to the drive's root. Nothing happens for the drive the tree is on.
    void setDrive(char letter);

    // The folder an entry stands for.
    std::string itemPath(int row) const;
    // Opens the folder of an entry, as a double-click does.
    void openItem(int row);
    // The number of path levels shown above the subfolders; the last of them is the current
    // folder's line.
    int levelCount() const { return m_levelCount; }

signals:
    // The current folder has changed.
    void changed();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void rebuild();

    tess::platform::FileSystem& m_fs;
    std::string m_directory;
    int m_levelCount = 0;
};

// Picks the folder for the temporary tables. Opens at the caller's path (or, when that is not
// an existing folder, where the process's current directory is); OK writes the chosen folder
// with a trailing "\" back into the caller's text.
class TTavGDirForm : public tess::ui::FixedDialog {
    Q_OBJECT

public:
    TTavGDirForm(QWidget* owner, const std::string& nomeDitta, std::string& percorso,
                 tess::platform::FileSystem& fs);

    // Percorso becomes the tree's folder followed by "\", Esito "ok", and the dialog closes.
    void OKBtnClick() override;
    // Esito "cancel" and the dialog closes; Percorso is left as it was. Esc does the same.
    void CancelBtnClick() override;
    // Label1 shows the tree's folder.
    void DirectoryListBox1Change();
    // The tree moves to the drive chosen in the drive list.
    void DriveComboBox1Change();

    std::string& Percorso;
    // "ok" (also when the window is closed from its title bar) or "cancel".
    std::string Esito;

    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    DirectoryListBox* DirectoryListBox1 = nullptr;
    QComboBox* DriveComboBox1 = nullptr;

protected:
    void fitLabels() override;
    void showEvent(QShowEvent* e) override;

private:
    // Selects the drive whose letter starts the path; the change handler then moves the tree.
    void selectDriveOf(const std::string& path);
};
