#include "platform/qt/list_view_widget.h"

#include "platform/qt/twip_scale.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace qb {
namespace {

/// Draws cells as the style does, but a full path cut short keeps its file name in view, so
/// that mailboxes of one long store folder are told apart.
class PathElidingDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget *widget = item.widget;
        const QStyle *style = widget != nullptr ? widget->style() : QApplication::style();
        if (IsFullPath(item.text)) {
            // The style keeps a margin on either side of the text inside its rectangle.
            const int margin =
                style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
            const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
            item.text = ElidedPath(item.text, item.fontMetrics, text.width() - 2 * margin);
            item.textElideMode = Qt::ElideMiddle;
        }
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    }
};

bool IsSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

} // namespace

bool IsFullPath(const QString &text) {
    if (text.startsWith(u'/') || text.startsWith(QStringLiteral("\\\\")))
        return true;
    return text.size() >= 3 && text[0].isLetter() && text[1] == u':' && IsSeparator(text[2]);
}

QString ElidedPath(const QString &path, const QFontMetrics &metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    qsizetype separator = path.size() - 1;
    while (separator > 0 && !IsSeparator(path[separator]))
        --separator;
    const QString name = path.mid(separator); // with its separator
    const int nameWidth = metrics.horizontalAdvance(name);
    if (separator <= 0 || nameWidth >= width)
        return metrics.elidedText(path, Qt::ElideMiddle, width);
    return metrics.elidedText(path.left(separator), Qt::ElideMiddle, width - nameWidth) + name;
}

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
    setItemDelegate(new PathElidingDelegate(this));
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
