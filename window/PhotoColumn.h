#pragma once

#include "workspace/PhotoCommands.h"
#include "workspace/PhotoList.h"

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tess::workspace {

class PhotoGrid;
class PreviewBoard;
class PreviewSlot;

// The workspace's three folder columns, left to right.
enum Column { Originals, Reduced, Thumbnails, ColumnCount };

// One folder column of the workspace: its folder button, path box, refresh button, grid and
// preview, and the list behind the grid with the folder it was last built from.
class PhotoColumn {
public:
    // Where the column's controls stand and what they are called.
    struct Layout {
        const char* folderButton;
        const char* folderCaption;
        const char* folderDialogTitle;
        int folderButtonLeft;
        const char* pathBox;
        int pathBoxLeft;
        int pathBoxWidth;
        const char* refreshButton;
        int refreshLeft;
        const char* grid;
        bool showsMarks; // marked rows drawn in their own colour
        const char* image;
        const char* label;
        int previewLeft;
    };

    // Builds the controls in `window`, the preview among `previews`. The preview shows the
    // current photo while `previewShown` says so (always when it is empty).
    void build(QWidget* window, PreviewBoard& previews, const Layout& layout,
               std::function<bool()> previewShown);

    // The folder text as it now stands in the path box.
    std::string folderText() const;
    // The list as a command sees it.
    ListAt at() { return {folderText(), list}; }

    FolderList list;
    const char* folderDialogTitle = "";
    QPushButton* folderButton = nullptr;
    QLineEdit* pathBox = nullptr;
    QPushButton* refresh = nullptr;
    PhotoGrid* grid = nullptr;
    PreviewSlot* preview = nullptr;
};

} // namespace tess::workspace
