#include "platform/qt/list_view_model.h"

namespace qb {

ListViewModel::ListViewModel(ListView &list, QObject *parent)
    : QAbstractTableModel(parent), list_(list), announcedRows_(list.rowCount()),
      announcedColumns_(static_cast<int>(list.columns().size())) {
    appendTimer_.setSingleShot(true);
    appendTimer_.setInterval(appendDelayMilliseconds);
    connect(&appendTimer_, &QTimer::timeout, this, &ListViewModel::announceAppendedRows);
    list_.setListener(this);
}

ListViewModel::~ListViewModel() {
    list_.setListener(nullptr);
}

int ListViewModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : announcedRows_;
}

int ListViewModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : announcedColumns_;
}

QVariant ListViewModel::data(const QModelIndex &index, int role) const {
    // During a reset the view may still ask for rows the control has already dropped.
    if (!index.isValid() || index.row() >= list_.rowCount())
        return QVariant();
    const int row = index.row() + 1;
    if (role == Qt::DisplayRole) {
        const std::string_view text = list_.cell(row, index.column() + 1);
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    if (role == Qt::CheckStateRole && index.column() == 0)
        return list_.checked(row) ? Qt::Checked : Qt::Unchecked;
    // The check box is announced with what names the row, such as the message's subject.
    if (role == Qt::AccessibleTextRole && index.column() == 0) {
        const std::string_view name = list_.cell(row, list_.rowNameCell());
        return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    return QVariant();
}

bool ListViewModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::CheckStateRole || index.column() != 0 || index.row() >= list_.rowCount())
        return false;
    // The control announces the change back through rowChanged.
    list_.setChecked(index.row() + 1, value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= announcedColumns_ || section >= static_cast<int>(list_.columns().size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromStdString(list_.columns()[static_cast<std::size_t>(section)].header);
}

void ListViewModel::announceAppendedRows() {
    appendTimer_.stop();
    const int rows = list_.rowCount();
    if (rows <= announcedRows_)
        return;
    beginInsertRows(QModelIndex(), announcedRows_, rows - 1);
    announcedRows_ = rows;
    endInsertRows();
}

void ListViewModel::columnsChanged() {
    resetToList();
    Q_EMIT columnLayoutChanged();
}

void ListViewModel::rowsAppended(int, int) {
    if (!appendTimer_.isActive())
        appendTimer_.start();
}

void ListViewModel::rowsCleared() {
    resetToList();
}

void ListViewModel::rowChanged(int row) {
    if (row > announcedRows_ || announcedColumns_ == 0)
        return;
    Q_EMIT dataChanged(index(row - 1, 0), index(row - 1, announcedColumns_ - 1));
}

void ListViewModel::repaintRequested() {
    announceAppendedRows();
}

void ListViewModel::resetToList() {
    appendTimer_.stop();
    beginResetModel();
    announcedRows_ = list_.rowCount();
    announcedColumns_ = static_cast<int>(list_.columns().size());
    endResetModel();
}

} // namespace qb
