#include "platform/qt/pointer_cursor.h"

namespace qb {

QCursor CursorFor(const WindowModel &window) {
    switch (window.pointer()) {
    case MousePointer::Busy:
        return QCursor(Qt::WaitCursor);
    case MousePointer::Custom:
        if (const auto *image =
                dynamic_cast<const CursorPointerImage *>(window.customPointer().get()))
            return image->cursor();
        return QCursor(Qt::ArrowCursor);
    case MousePointer::Default:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

} // namespace qb
