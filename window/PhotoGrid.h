#pragma once

#include <QTableView>

class QMenu;

namespace tess::workspace {

class PhotoGridModel;

// A grid over a photo table, shaped like a classic data grid: a title row, a row indicator
// column with an arrow at the current row, and one wide column that scrolls sideways. It
// follows the table's cursor, and a click with either button, the keyboard or the scroll bar
// moves the cursor. Names cannot be edited, and no rows are added or deleted here.
class PhotoGrid final : public QTableView {
    Q_OBJECT

public:
    PhotoGrid(PhotoGridModel* model, QWidget* parent);

    PhotoGridModel* photoModel() const { return m_model; }
    // The pop-up menu a right click opens (none for the thumbnails grid).
    void setPopupMenu(QMenu* menu) { m_menu = menu; }

signals:
    // A double click with the left button anywhere on the grid.
    void gridDoubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followTable(int row);
    // Where the Menu key opens the pop-up menu, in viewport coordinates.
    QPoint keyboardMenuPoint() const;

    PhotoGridModel* m_model;
    QMenu* m_menu = nullptr;
    bool m_following = false;
};

} // namespace tess::workspace
