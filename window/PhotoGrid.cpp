#include "window/PhotoGrid.h"

#include "window/PhotoGridModel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace tess::workspace {
namespace {

constexpr int kRowHeight = 16;
constexpr int kTitleHeight = 18;
constexpr int kIndicatorWidth = 12;

// The row indicator column: button-face cells, a black arrow at the table's current row.
class IndicatorHeader final : public QHeaderView {
public:
    explicit IndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        painter->save();
        painter->fillRect(rect, palette().button());
        painter->setPen(palette().dark().color());
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        auto* grid = static_cast<const PhotoGrid*>(parentWidget());
        if (grid->currentIndex().isValid() && grid->currentIndex().row() == logicalIndex) {
            const int cx = rect.left() + rect.width() / 2;
            const int cy = rect.top() + rect.height() / 2;
            const QPoint arrow[] = {{cx - 2, cy - 4}, {cx + 2, cy}, {cx - 2, cy + 4}};
            painter->setPen(Qt::NoPen);
            painter->setBrush(Qt::black);
            painter->drawPolygon(arrow, 3);
        }
        painter->restore();
    }

    void paintEvent(QPaintEvent* event) override {
        QHeaderView::paintEvent(event);
        // An empty list still shows the indicator cell of its one blank row.
        if (count() == 0) {
            QPainter painter(viewport());
            paintSection(&painter, QRect(0, 0, viewport()->width(), kRowHeight), -1);
        }
    }
};

} // namespace

PhotoGrid::PhotoGrid(PhotoGridModel* model, QWidget* parent) : QTableView(parent), m_model(model) {
    setVerticalHeader(new IndicatorHeader(this));
    setModel(model);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(NoSelection);  // the delegate draws the current cell itself
    setFocusPolicy(Qt::ClickFocus); // not a tab stop: grids take the focus by mouse
    setHorizontalScrollMode(ScrollPerPixel);
    setWordWrap(false);
    setShowGrid(true);
    setCornerButtonEnabled(false);

    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setFixedWidth(kIndicatorWidth);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setFixedHeight(kTitleHeight);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    // As wide as 255 digits plus a few pixels: far wider than the grid, so it scrolls.
    setColumnWidth(0, fontMetrics().horizontalAdvance(QLatin1Char('0')) * 255 + 4);

    // A double click on the title row or the indicator column counts as one on the grid.
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);

    connect(model, &PhotoGridModel::currentRowChanged, this, &PhotoGrid::followTable);
    connect(model, &QAbstractItemModel::modelReset, this,
            [this] { followTable(m_model->table().currentIndex()); });
}

void PhotoGrid::followTable(int row) {
    m_following = true;
    const QModelIndex index =
        row >= 0 && row < model()->rowCount() ? model()->index(row, 0) : QModelIndex();
    if (index != currentIndex())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    if (index.isValid())
        scrollTo(index);
    m_following = false;
    verticalHeader()->viewport()->update();
}

void PhotoGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    verticalHeader()->viewport()->update();
    viewport()->update();
    if (!m_following && current.isValid())
        m_model->table().moveTo(current.row());
}

void PhotoGrid::mousePressEvent(QMouseEvent* event) {
    // A click with either button makes the row under it current.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index != currentIndex())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    QTableView::mousePressEvent(event);
}

void PhotoGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit gridDoubleClicked();
}

bool PhotoGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit gridDoubleClicked();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void PhotoGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_menu)
        return;
    // The Menu key would open it at the middle of the current cell, which lies far beyond the
    // grid's right edge: it opens beside the current row instead, inside the grid.
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? viewport()->mapToGlobal(keyboardMenuPoint())
                          : event->globalPos();
    m_menu->popup(at);
}

QPoint PhotoGrid::keyboardMenuPoint() const {
    const QRect visible = viewport()->rect();
    const QRect row = visualRect(currentIndex());
    const int y = row.isValid() ? row.center().y() : visible.top();
    return {visible.left() + kRowHeight, std::clamp(y, visible.top(), visible.bottom())};
}

void PhotoGrid::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (model()->rowCount() > 0 || !showGrid())
        return;
    // An empty list is drawn as one blank row: the grid lines the table draws under a row and
    // after its column, on the grid's own background.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QColor gridColour = QColor::fromRgba(
        static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    QPainter painter(viewport());
    painter.setPen(QPen(gridColour, 0, gridStyle()));
    const int bottom = kRowHeight - 1;
    const int right = columnViewportPosition(0) + columnWidth(0) - 1;
    painter.drawLine(0, bottom, std::min(right, viewport()->width() - 1), bottom);
    painter.drawLine(right, 0, right, bottom);
}

void PhotoGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void PhotoGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

} // namespace tess::workspace
