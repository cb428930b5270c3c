#include "platform/qt/title_width.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace qb {
namespace {

/// The title bar's window icon and its minimise, maximise and close buttons, with some air.
constexpr int titleBarButtonsWidth = 160;

} // namespace

int TitleBarWidth(const QWidget &dialog, const QString &title) {
    QFont titleFont = dialog.font();
    titleFont.setBold(true);
    return QFontMetrics(titleFont).horizontalAdvance(title) + titleBarButtonsWidth;
}

void WidenForTitle(QMessageBox &box) {
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    const QMargins margins = grid->contentsMargins();
    const int width = TitleBarWidth(box, box.windowTitle()) - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace qb
