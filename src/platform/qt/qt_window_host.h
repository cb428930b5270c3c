#pragma once

#include "platform/controls/window_model.h"

namespace qb {

/// Shows window models as Qt windows and loads Windows cursor files as Qt cursors.
class QtWindowHost : public WindowHost {
  public:
    /// Shows the window as an application-modal top-level window, runs a nested event loop until
    /// it has closed, and then destroys its widgets again.
    void showModal(WindowModel &window) override;
    /// Reads a .cur (or .ico) file with Qt's icon reader; the hot spot comes from the file.
    /// Throws Failure 481 for a file that is missing, damaged or not a cursor.
    std::shared_ptr<PointerImage> loadPointer(const std::string &path) override;
    /// Flushes the standard streams and ends the process before any other event runs.
    [[noreturn]] void endProgram() override;
};

} // namespace qb
