#include "platform/qt/list_view_widget.h"

#include "platform/qt/twip_scale.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>

namespace qb {

ListViewWidget::ListViewWidget(ListView &list, QWidget *parent)
    : QTreeView(parent), model_(list, this) {
    setModel(&model_);
    setUniformRowHeights(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSortingEnabled(false);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // The hidden identifier column is one twip wide: it must be allowed to shrink to nothing.
    header()->setMinimumSectionSize(0);
    // A list that grows with the window gives the room to its last column.
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
    connect(&model_, &ListViewModel::columnLayoutChanged, this, &ListViewWidget::applyColumnWidths);
    applyColumnWidths();
    // Double-click, or Enter on the current row, opens the row.
    connect(this, &QAbstractItemView::activated, this, [&list](const QModelIndex &index) {
        if (index.isValid() && index.row() < list.rowCount())
            list.open(index.row() + 1);
    });
}

bool ListViewWidget::viewportEvent(QEvent *event) {
    if (event->type() != QEvent::ToolTip)
        return QTreeView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    const QRect cell = visualRect(index);
    if (index.isValid() && sizeHintForIndex(index).width() > cell.width())
        QToolTip::showText(help->globalPos(), index.data().toString(), viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

void ListViewWidget::applyColumnWidths() {
    const TwipScale scale = TwipScale::of(*this);
    const auto &columns = model_.list().columns();
    for (std::size_t column = 0; column < columns.size(); ++column) {
        const int section = static_cast<int>(column);
        // A column of a twip is there only to hold data out of sight; hidden, it is also out of
        // the way of the last visible column that takes the room.
        header()->setSectionHidden(section, columns[column].width <= 1);
        header()->resizeSection(section, scale.x(columns[column].width));
    }
}

} // namespace qb
