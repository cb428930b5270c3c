#pragma once

#include <functional>
#include <string>

namespace qb {

/// A rectangle in twips, relative to the control's container.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

/// Where a control's edges go when its container is larger than designed: each edge moves by its
/// share (0 to 1) of the container's extra width or height. All shares zero keep the control at
/// its designed place and size; a left and right share of 1 moves it along with the right edge.
struct Growth {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    bool operator==(const Growth &) const = default;
};

enum class ControlKind { Frame, TextBox, OptionButton, ComboBox, ListView, PushButton };
enum class BackColour { White, ButtonFace };

class Frame;

/// What every control of a window has: its designer name, caption, place and background, the
/// mouse-move handler of the window logic, and one listener that the drawing layer sets to hear
/// of changes.
class Control {
  public:
    Control(ControlKind kind, std::string name, std::string caption, TwipRect rect,
            Frame *container = nullptr)
        : kind_(kind), name_(std::move(name)), caption_(std::move(caption)), rect_(rect),
          container_(container) {}
    virtual ~Control() = default;
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;

    ControlKind kind() const { return kind_; }
    const std::string &name() const { return name_; }
    const std::string &caption() const { return caption_; }
    const TwipRect &rect() const { return rect_; }
    Frame *container() const { return container_; }

    /// How the control follows its container when the user makes the window larger.
    const Growth &growth() const { return growth_; }
    void setGrowth(const Growth &growth) { growth_ = growth; }

    BackColour backColour() const { return backColour_; }
    void setBackColour(BackColour colour) {
        backColour_ = colour;
        notifyView();
    }

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) {
        enabled_ = enabled;
        notifyView();
    }

    /// The name a screen reader announces: the one the window logic gave, else the caption, else
    /// the caption of the frame around the control (a text box is known by its frame's title).
    std::string accessibleName() const;
    void setAccessibleName(std::string name) { accessibleName_ = std::move(name); }

    /// The window logic's mouse-move handler.
    std::function<void()> onMouseMove;
    void mouseMove() {
        if (onMouseMove)
            onMouseMove();
    }

    /// The drawing layer's listener; the logic never sets it.
    std::function<void()> viewChanged;

  protected:
    void notifyView() {
        if (viewChanged)
            viewChanged();
    }

  private:
    ControlKind kind_;
    std::string name_;
    std::string caption_;
    TwipRect rect_;
    Frame *container_;
    Growth growth_;
    BackColour backColour_ = BackColour::White;
    bool enabled_ = true;
    std::string accessibleName_;
};

/// A frame: a captioned group of controls.
class Frame : public Control {
  public:
    Frame(std::string name, std::string caption, TwipRect rect, Frame *container = nullptr)
        : Control(ControlKind::Frame, std::move(name), std::move(caption), rect, container) {}
};

/// A push button; `click` fires its click handler as a user's click does, so a disabled button
/// cannot be clicked.
class PushButton : public Control {
  public:
    PushButton(std::string name, std::string caption, TwipRect rect, Frame *container = nullptr)
        : Control(ControlKind::PushButton, std::move(name), std::move(caption), rect, container) {}

    std::function<void()> onClick;
    void click() {
        if (enabled() && onClick)
            onClick();
    }
};

} // namespace qb
