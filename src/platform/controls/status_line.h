#pragma once

#include <functional>
#include <string>

namespace qb {

/// The status line below a window's designed controls: a text that tells what the running action
/// does and how far it has come (kept when the action ends, so its count stays readable), and a
/// Stop button, enabled while an action that can be stopped runs. The drawing layer presses Stop
/// for the button and for Escape.
class StatusLine {
  public:
    const std::string &text() const { return text_; }
    void setText(const std::string &text);

    bool stopEnabled() const { return static_cast<bool>(onStop_); }
    /// Enables Stop with the handler that a press runs; an empty handler disables it.
    void offerStop(std::function<void()> handler);
    /// The Stop button or Escape: runs the stop handler when Stop is enabled, else nothing.
    void pressStop();

    /// The drawing layer's listener; the logic never sets it.
    std::function<void()> viewChanged;

  private:
    void notifyView() {
        if (viewChanged)
            viewChanged();
    }

    std::string text_;
    std::function<void()> onStop_;
};

} // namespace qb
