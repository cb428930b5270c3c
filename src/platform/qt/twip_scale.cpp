#include "platform/qt/twip_scale.h"

#include <QWidget>

#include <cmath>

namespace qb {
namespace {

constexpr double twipsPerInch = 1440.0;

int toPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / twipsPerInch));
}

} // namespace

TwipScale TwipScale::of(const QWidget &widget) {
    return TwipScale(widget.logicalDpiX(), widget.logicalDpiY());
}

int TwipScale::x(int twips) const {
    return toPixels(twips, dpiX_);
}

int TwipScale::y(int twips) const {
    return toPixels(twips, dpiY_);
}

QRect TwipScale::rect(const TwipRect &twips) const {
    return QRect(x(twips.left), y(twips.top), x(twips.width), y(twips.height));
}

} // namespace qb
