#pragma once

#include "platform/controls/control.h"

#include <vector>

namespace qb {

/// An option button. Buttons that share a group exclude each other. Selecting a button, by the
/// user or in code, clears the others of its group and fires its click handler (also when it was
/// selected already); setting a button to false fires nothing.
class OptionButton : public Control {
  public:
    OptionButton(std::string name, std::string caption, TwipRect rect, Frame *container = nullptr)
        : Control(ControlKind::OptionButton, std::move(name), std::move(caption), rect, container) {
    }

    /// Puts the buttons into one group of mutually exclusive choices.
    static void group(std::initializer_list<OptionButton *> buttons) {
        for (OptionButton *button : buttons)
            button->group_.assign(buttons.begin(), buttons.end());
    }

    bool value() const { return value_; }
    void setValue(bool value) {
        if (!value) {
            if (value_) {
                value_ = false;
                notifyView();
            }
            return;
        }
        for (OptionButton *other : group_)
            if (other != this)
                other->setValue(false);
        value_ = true;
        notifyView();
        if (onClick)
            onClick();
    }

    std::function<void()> onClick;

  private:
    bool value_ = false;
    std::vector<OptionButton *> group_;
};

} // namespace qb
