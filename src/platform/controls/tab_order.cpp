#include "platform/controls/tab_order.h"

#include <algorithm>

namespace qb {

TwipRect WindowRect(const Control &control) {
    TwipRect rect = control.rect();
    for (const Control *frame = control.container(); frame; frame = frame->container()) {
        rect.left += frame->rect().left;
        rect.top += frame->rect().top;
    }
    return rect;
}

std::vector<Control *> TabOrder(const WindowModel &window) {
    std::vector<Control *> byTop;
    for (Control *control : window.controls())
        if (control->kind() != ControlKind::Frame)
            byTop.push_back(control);
    std::stable_sort(byTop.begin(), byTop.end(), [](const Control *a, const Control *b) {
        return WindowRect(*a).top < WindowRect(*b).top;
    });
    std::vector<Control *> order;
    for (auto rowStart = byTop.begin(); rowStart != byTop.end();) {
        const TwipRect first = WindowRect(**rowStart);
        const auto rowEnd = std::find_if(rowStart, byTop.end(), [&](const Control *control) {
            const TwipRect rect = WindowRect(*control);
            const int middle = rect.top + rect.height / 2;
            return middle < first.top || middle > first.top + first.height;
        });
        std::vector<Control *> row(rowStart, rowEnd);
        std::stable_sort(row.begin(), row.end(), [](const Control *a, const Control *b) {
            return WindowRect(*a).left < WindowRect(*b).left;
        });
        order.insert(order.end(), row.begin(), row.end());
        rowStart = rowEnd;
    }
    return order;
}

} // namespace qb
