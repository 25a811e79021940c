#include "window/PhotoColumn.h"

#include "window/Controls.h"
#include "window/PhotoGrid.h"
#include "window/PhotoGridDelegate.h"
#include "window/PhotoGridModel.h"
#include "window/Preview.h"
#include "workspace/PreviewPicture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace tess::workspace {

void PhotoColumn::build(QWidget* window, PreviewBoard& previews, const Layout& layout,
                        std::function<bool()> previewShown) {
    folderDialogTitle = layout.folderDialogTitle;
    folderButton = flatButton(window, layout.folderButton, QString::fromUtf8(layout.folderCaption),
                              layout.folderButtonLeft, 5, 261, 17);
    pathBox = editBox(window, layout.pathBox, layout.pathBoxLeft, 22, layout.pathBoxWidth, 21);
    refresh = refreshButton(window, layout.refreshButton, layout.refreshLeft, 73);

    grid = place(new PhotoGrid(new PhotoGridModel(list.table, window), window), layout.grid,
                 layout.pathBoxLeft, 96, 260, 236);
    grid->setItemDelegate(new PhotoGridDelegate(
        layout.showsMarks ? PhotoGridDelegate::Mode::Marks : PhotoGridDelegate::Mode::Plain, grid));

    auto* image = place(new QLabel(window), layout.image, layout.previewLeft, 354, 201, 169);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* label = place(new QLabel(QStringLiteral("Anteprima non disponibile"), window),
                        layout.label, layout.previewLeft + 40, 433, 122, 13);
    // The label sizes itself to its text, which may come out a little wider here.
    label->resize(std::max(label->width(), label->sizeHint().width()), label->height());

    // The preview reads the path box and the current name when it is drawn; joined with one
    // separator.
    preview = previews.addSlot(
        image, label, [this, shown = std::move(previewShown)]() -> std::optional<std::string> {
            if (shown && !shown())
                return std::nullopt;
            return previewPath(folderText(), list.table.currentName());
        });
    list.table.setAfterScroll([this] { preview->schedule(); });
}

std::string PhotoColumn::folderText() const {
    return pathBox->text().toStdString();
}

} // namespace tess::workspace
