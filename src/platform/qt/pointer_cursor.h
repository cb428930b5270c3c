#pragma once

#include "platform/controls/window_model.h"

#include <QCursor>

namespace qb {

/// A pointer image loaded from a Windows cursor file.
class CursorPointerImage : public PointerImage {
  public:
    explicit CursorPointerImage(QCursor cursor) : cursor_(std::move(cursor)) {}
    const QCursor &cursor() const { return cursor_; }

  private:
    QCursor cursor_;
};

/// The cursor the window's pointer state stands for: the wait cursor while busy, the loaded
/// custom pointer (the arrow when none was loaded), or the arrow.
QCursor CursorFor(const WindowModel &window);

} // namespace qb
