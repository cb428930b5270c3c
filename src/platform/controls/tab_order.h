#pragma once

#include "platform/controls/window_model.h"

#include <vector>

namespace qb {

/// The control's rectangle in twips from the window's client area.
TwipRect WindowRect(const Control &control);

/// The controls of a window that take the keyboard focus (every kind but frames), in the order
/// Tab visits them: row by row from the top of the window, and within a row from the left. A
/// control is in the row of the control above it when its middle lies between that control's
/// top and bottom, so an option's caption comes before the taller text box beside it.
std::vector<Control *> TabOrder(const WindowModel &window);

} // namespace qb
