#pragma once

#include <QColor>
#include <QStyledItemDelegate>

class QAbstractItemView;

namespace tess::workspace {

// Draws the data cells of a photo grid.
// Marks: the originals and reduced grids. The current cell in the selection colours whether
// or not the grid has the focus; a marked row (Selezionato 1) on yellow; others on the
// window colour. Text 2 px right of and 1 px below the cell's corner.
// Plain: the thumbnails grid, drawn as a data grid draws by itself: the window colour, the
// current cell in the selection colours only while the grid has the focus, text 2 px in.
class PhotoGridDelegate final : public QStyledItemDelegate {
public:
    enum class Mode { Marks, Plain };

    static inline const QColor kMarkedBackground{255, 255, 0};

    PhotoGridDelegate(Mode mode, QAbstractItemView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    Mode m_mode;
    QAbstractItemView* m_view;
};

} // namespace tess::workspace
