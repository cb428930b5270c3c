#pragma once

#include "platform/controls/control.h"

#include <cstddef>
#include <functional>
#include <optional>

class QWidget;

namespace qb {

class TwipScale;

/// Creates the widget that shows a control inside parent (the window's designed area, or the
/// widget of the control's frame), named for screen readers as the control is, with the letter of
/// its caption at accessKey underlined as its access key. The widget forwards the user's input
/// (Enter included) to the control and follows the control's changes through its view listener
/// until ReleaseControlWidget.
QWidget *CreateControlWidget(Control &control, QWidget &parent, const TwipScale &scale,
                             std::optional<std::size_t> accessKey = std::nullopt);

/// Runs a handler of the window logic for the user's input or the window's events; an empty
/// handler does nothing. A failure that escapes the handler is logged, not passed on.
void RunWindowHandler(const std::function<void()> &handler);

/// Stops the control from telling its widget of changes; call before the widget goes.
void ReleaseControlWidget(Control &control);

} // namespace qb
