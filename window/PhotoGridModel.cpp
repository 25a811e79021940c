#include "window/PhotoGridModel.h"

#include "platform/TextEncoding.h"

namespace tess::workspace {

PhotoGridModel::PhotoGridModel(PhotoTable& table, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_rows(table.rowCount()) {
    m_table.setObserver(this);
}

PhotoGridModel::~PhotoGridModel() {
    m_table.setObserver(nullptr);
}

int PhotoGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int PhotoGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant PhotoGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_table.rowCount())
        return {};
    const PhotoTable::Row& row = m_table.row(index.row());
    switch (role) {
    case Qt::DisplayRole:
        // A name that is not UTF-8 is shown by its Windows-1252 reading, as the dialogs show it.
        return QString::fromStdString(platform::textFromBytes(row.nomeFoto));
    case MarkRole:
        return int(row.selezionato);
    default:
        return {};
    }
}

QVariant PhotoGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section == 0 ? QVariant(QStringLiteral("NomeFoto")) : QVariant();
    return QString(); // the row indicator draws the current row's arrow itself
}

Qt::ItemFlags PhotoGridModel::flags(const QModelIndex& index) const {
    // Names cannot be typed over: a listed name must stay the name of the file on disk.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void PhotoGridModel::tableReset() {
    if (m_table.controlsDisabled())
        return;
    beginResetModel();
    m_rows = m_table.rowCount();
    endResetModel();
}

void PhotoGridModel::rowInserted(int index) {
    if (m_table.controlsDisabled())
        return;
    beginInsertRows(QModelIndex(), index, index);
    m_rows = m_table.rowCount();
    endInsertRows();
}

void PhotoGridModel::rowAboutToBeRemoved(int index) {
    if (!m_table.controlsDisabled())
        beginRemoveRows(QModelIndex(), index, index);
}

void PhotoGridModel::rowRemoved(int index) {
    if (m_table.controlsDisabled())
        return;
    m_rows = m_table.rowCount();
    endRemoveRows();
}

void PhotoGridModel::rowChanged(int index) {
    if (m_table.controlsDisabled() || index >= m_rows)
        return;
    const QModelIndex changed = this->index(index, 0);
    emit dataChanged(changed, changed);
}

void PhotoGridModel::cursorMoved(int index) {
    if (m_table.controlsDisabled())
        return;
    emit currentRowChanged(index);
}

void PhotoGridModel::controlsResumed() {
    beginResetModel();
    m_rows = m_table.rowCount();
    endResetModel();
    emit currentRowChanged(m_table.currentIndex());
}

} // namespace tess::workspace
