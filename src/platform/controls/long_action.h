#pragma once

#include "platform/controls/window_model.h"

#include <string>
#include <vector>

namespace qb {

/// One run of a long action of a window: a listing, a download, a conversion. While it lives, the
/// window's action starters are disabled, so that the events the run lets through cannot start a
/// second action inside it, and the status line offers Stop; a press of Stop is kept for the
/// action to ask about after each message. When it ends, the starters it disabled are enabled
/// again and Stop is withdrawn; the status text stays, with the count the action left there.
///
/// An action started inside a running one (by code: its button is disabled) changes no control
/// and hears the outer action's Stop.
class LongAction {
  public:
    explicit LongAction(WindowModel &window);
    ~LongAction();
    LongAction(const LongAction &) = delete;
    LongAction &operator=(const LongAction &) = delete;

    /// True once Stop was pressed during this action (or the one around it).
    bool stopRequested() const;
    /// Shows the text in the window's status line.
    void showStatus(const std::string &text);

  private:
    WindowModel &window_;
    LongAction *outer_;
    std::vector<Control *> disabled_;
    bool stopRequested_ = false;
};

} // namespace qb
