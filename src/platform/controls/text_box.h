#pragma once

#include "platform/controls/control.h"

namespace qb {

/// A one-line text box. Changing its text, by the user or in code, fires the change handler;
/// setting the text it already has fires nothing. Enter in the box runs its enter handler.
class TextBox : public Control {
  public:
    TextBox(std::string name, TwipRect rect, Frame *container = nullptr)
        : Control(ControlKind::TextBox, std::move(name), std::string(), rect, container) {}

    const std::string &text() const { return text_; }
    void setText(const std::string &text) {
        if (text == text_)
            return;
        text_ = text;
        notifyView();
        if (onChange)
            onChange();
    }

    std::function<void()> onChange;

    /// Enter pressed in the box: the window logic's handler, such as the button it presses.
    std::function<void()> onEnter;
    void pressEnter() {
        if (onEnter)
            onEnter();
    }

  private:
    std::string text_;
};

} // namespace qb
