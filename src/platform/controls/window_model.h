#pragma once

#include "platform/controls/control.h"
#include "platform/controls/status_line.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qb {

enum class MousePointer { Default, Busy, Custom };

class LongAction;

/// A loaded pointer image; what it holds is the drawing layer's affair.
class PointerImage {
  public:
    virtual ~PointerImage() = default;
};

/// A window of the program: caption, designed client size in twips, background, mouse pointer,
/// optional skin, its controls in the order of the window's design, and the status line below
/// them. Closing it runs the query-unload and unload handlers of the window logic.
class WindowModel {
  public:
    WindowModel(std::string name, int clientWidth, int clientHeight)
        : name_(std::move(name)), clientWidth_(clientWidth), clientHeight_(clientHeight) {}
    WindowModel(const WindowModel &) = delete;
    WindowModel &operator=(const WindowModel &) = delete;

    const std::string &name() const { return name_; }
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }

    const std::string &caption() const { return caption_; }
    void setCaption(const std::string &caption) {
        caption_ = caption;
        notifyView();
    }

    bool hasIcon() const { return hasIcon_; }
    /// Gives the window the program's icon.
    void setProgramIcon() {
        hasIcon_ = true;
        notifyView();
    }

    BackColour backColour() const { return backColour_; }
    void setBackColour(BackColour colour) {
        backColour_ = colour;
        notifyView();
    }

    MousePointer pointer() const { return pointer_; }
    void setPointer(MousePointer pointer) {
        pointer_ = pointer;
        notifyView();
    }
    /// Hand pointer of the window; without an image, the custom pointer is the arrow.
    const std::shared_ptr<PointerImage> &customPointer() const { return customPointer_; }
    void setCustomPointer(std::shared_ptr<PointerImage> image) {
        customPointer_ = std::move(image);
        notifyView();
    }

    /// Style sheet that skins the window; empty for none.
    const std::string &skin() const { return skin_; }
    void setSkin(const std::string &styleSheet) {
        skin_ = styleSheet;
        notifyView();
    }

    const std::vector<Control *> &controls() const { return controls_; }
    /// The control the logic gave the input focus last; null until it gives one.
    Control *focus() const { return focus_; }
    /// How often the logic has given the focus: the user may have moved it since, so giving it
    /// to the same control again is a new request.
    unsigned focusRequests() const { return focusRequests_; }
    void setFocus(Control &control) {
        focus_ = &control;
        ++focusRequests_;
        notifyView();
    }
    void addControls(std::initializer_list<Control *> controls) {
        controls_.insert(controls_.end(), controls.begin(), controls.end());
    }

    /// What the running action does and how far it has come, with its Stop.
    StatusLine &statusLine() { return statusLine_; }
    const StatusLine &statusLine() const { return statusLine_; }

    /// The controls that start long actions, or whose action would nest badly inside one (a
    /// second download, a listing inside a download): disabled while a long action runs.
    const std::vector<Control *> &actionStarters() const { return actionStarters_; }
    void setActionStarters(std::vector<Control *> controls) {
        actionStarters_ = std::move(controls);
    }
    /// The long action running in the window, or null; kept by LongAction.
    LongAction *runningAction() const { return runningAction_; }
    void setRunningAction(LongAction *action) { runningAction_ = action; }

    /// Logic handlers around a close; query-unload runs first, unload when the window has gone.
    std::function<void()> onQueryUnload;
    std::function<void()> onUnload;
    std::function<void()> onMouseMove;

    /// Where the window's size, position and maximised state are kept between runs, as a text
    /// only the drawing layer reads: it reads the text when it first shows the window and writes
    /// it when the window closes, before the query-unload handler.
    std::function<std::string()> readPlacement;
    std::function<void(const std::string &)> writePlacement;

    /// The drawing layer's listener; the logic never sets it.
    std::function<void()> viewChanged;

  private:
    void notifyView() {
        if (viewChanged)
            viewChanged();
    }

    std::string name_;
    int clientWidth_;
    int clientHeight_;
    std::string caption_;
    bool hasIcon_ = false;
    BackColour backColour_ = BackColour::White;
    MousePointer pointer_ = MousePointer::Default;
    std::shared_ptr<PointerImage> customPointer_;
    std::string skin_;
    std::vector<Control *> controls_;
    StatusLine statusLine_;
    std::vector<Control *> actionStarters_;
    LongAction *runningAction_ = nullptr;
    Control *focus_ = nullptr;
    unsigned focusRequests_ = 0;
};

/// Shows windows and loads what the drawing layer must turn into pointers; tests script it.
class WindowHost {
  public:
    virtual ~WindowHost() = default;
    /// Shows the window modally and returns when it has closed (after its unload handler ran).
    virtual void showModal(WindowModel &window) = 0;
    /// Loads a Windows cursor file; throws Failure when it cannot be read as one.
    virtual std::shared_ptr<PointerImage> loadPointer(const std::string &path) = 0;
    /// Ends the program at once: no further window events run.
    [[noreturn]] virtual void endProgram() = 0;
};

} // namespace qb
