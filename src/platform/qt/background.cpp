#include "platform/qt/background.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace qb {

void ShowBackColour(QWidget &widget, BackColour colour) {
    QPalette palette = widget.palette();
    const QColor fill = colour == BackColour::White
                            ? QColor(Qt::white)
                            : QApplication::palette().color(QPalette::Button);
    // Buttons fill with their button role, the other widgets with their window role.
    palette.setColor(widget.backgroundRole(), fill);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace qb
