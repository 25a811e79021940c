#pragma once

#include "workspace/PhotoTable.h"

#include <QAbstractTableModel>

namespace tess::workspace {

// Shows a photo table in a grid: one read-only column, "NomeFoto". While the table suspends
// its grid the model reports nothing, and catches up in one reset when the table resumes.
class PhotoGridModel final : public QAbstractTableModel, private PhotoTableObserver {
    Q_OBJECT

public:
    enum Role { MarkRole = Qt::UserRole + 1 }; // the row's Selezionato

    explicit PhotoGridModel(PhotoTable& table, QObject* parent = nullptr);
    ~PhotoGridModel() override;

    PhotoTable& table() const { return m_table; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The table's cursor moved to `row` (-1: none), and the grid is not suspended.
    void currentRowChanged(int row);

private:
    void tableReset() override;
    void rowInserted(int index) override;
    void rowAboutToBeRemoved(int index) override;
    void rowRemoved(int index) override;
    void rowChanged(int index) override;
    void cursorMoved(int index) override;
    void controlsResumed() override;

    PhotoTable& m_table;
    int m_rows = 0; // the row count the views know of
};

} // namespace tess::workspace
