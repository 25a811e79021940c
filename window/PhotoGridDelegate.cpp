#include "window/PhotoGridDelegate.h"

#include "window/PhotoGridModel.h"

#include <QAbstractItemView>
#include <QPainter>

namespace tess::workspace {

PhotoGridDelegate::PhotoGridDelegate(Mode mode, QAbstractItemView* view)
    : QStyledItemDelegate(view), m_mode(mode), m_view(view) {}

void PhotoGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QPalette& palette = m_view->palette();
    const bool current = index == m_view->currentIndex();
    const bool focused = m_view->hasFocus();
    const bool highlighted = m_mode == Mode::Marks ? current : current && focused;
    const bool marked = m_mode == Mode::Marks && index.data(PhotoGridModel::MarkRole).toInt() == 1;

    QColor background = palette.color(QPalette::Active, QPalette::Base);
    QColor text = palette.color(QPalette::Active, QPalette::Text);
    if (highlighted) {
        background = palette.color(QPalette::Active, QPalette::Highlight);
        text = palette.color(QPalette::Active, QPalette::HighlightedText);
    } else if (marked) {
        background = kMarkedBackground;
    }

    const QRect cell = option.rect;
    painter->save();
    painter->setClipRect(cell);
    painter->fillRect(cell, background);
    painter->setFont(option.font);
    painter->setPen(text);
    const int top = cell.top() + (m_mode == Mode::Marks ? 1 : 2);
    const QRect textRect(cell.left() + 2, top, cell.width() - 2, cell.bottom() - top + 1);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (current && focused) {
        // The dotted focus rectangle of a data grid's current cell.
        QPen pen(text, 1, Qt::DotLine);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

} // namespace tess::workspace
