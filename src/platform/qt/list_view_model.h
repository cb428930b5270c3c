#pragma once

#include "platform/controls/list_view.h"

#include <QAbstractTableModel>
#include <QTimer>

namespace qb {

/// The item model of a list view control. It reads rows straight from the control's storage and
/// keeps no copy. Appended rows are announced in batches, at most every few dozen milliseconds or
/// when the list is asked to repaint, so that a walk appending rows one by one stays fast.
/// Column 0 carries the row's check box; toggling it by the user checks the row in the control.
/// Screen readers hear the check box named by the row's name cell (ListView::rowNameCell).
class ListViewModel : public QAbstractTableModel, private ListViewListener {
    Q_OBJECT
  public:
    explicit ListViewModel(ListView &list, QObject *parent = nullptr);
    ~ListViewModel() override;

    /// How long appended rows may wait before the view hears of them.
    static constexpr int appendDelayMilliseconds = 50;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const ListView &list() const { return list_; }
    /// Announces the rows appended since the last announcement.
    void announceAppendedRows();

  Q_SIGNALS:
    /// The columns were replaced or resized; their widths are in the control.
    void columnLayoutChanged();

  private:
    void columnsChanged() override;
    void rowsAppended(int firstRow, int lastRow) override;
    void rowsCleared() override;
    void rowChanged(int row) override;
    void repaintRequested() override;
    void resetToList();

    ListView &list_;
    int announcedRows_ = 0;
    int announcedColumns_ = 0;
    QTimer appendTimer_;
};

} // namespace qb
