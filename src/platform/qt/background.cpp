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
    palette.setColor(QPalette::Window, fill);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace qb
