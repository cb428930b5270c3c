#pragma once

#include "platform/controls/control.h"

#include <QRect>
#include <QSize>

class QWidget;

namespace qb {

/// Turns twips (1440 to the inch) into pixels at a screen's logical resolution; at 96 dpi a
/// pixel is 15 twips.
class TwipScale {
  public:
    TwipScale(double dpiX, double dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}
    /// The scale of the screen the widget shows on.
    static TwipScale of(const QWidget &widget);

    int x(int twips) const;
    int y(int twips) const;
    QRect rect(const TwipRect &twips) const;
    QSize size(int widthTwips, int heightTwips) const { return {x(widthTwips), y(heightTwips)}; }

  private:
    double dpiX_;
    double dpiY_;
};

} // namespace qb
