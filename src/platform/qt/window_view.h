#pragma once

#include "platform/controls/window_model.h"

#include <QSize>
#include <QWidget>

#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

class QScrollArea;

namespace qb {

class StatusLineWidget;

/// The smallest and the first size of a window whose content wants `wanted` pixels, on a screen
/// that leaves `room` for it: the wanted size for both when it fits; else as much of it as fits,
/// grown by the scroll bar that the side which does not fit needs, and a smallest size that any
/// screen has room for, the content scrolling meanwhile.
struct WindowSizes {
    QSize smallest;
    QSize first;
};
WindowSizes SizesForScreen(QSize wanted, QSize room, int scrollBarExtent);

/// Draws any window model as a Qt window: its designed area, with one widget per control at its
/// twip rectangle and frames as group boxes holding their controls, and below it the status line.
///
/// Where the screen has room, the window opens at the designed size and cannot be made smaller;
/// on a smaller screen (or with large scaling) it opens no larger than the screen and the designed
/// area scrolls, following the keyboard focus, so every control can be reached. When the window is
/// larger than designed, each control moves and stretches by its growth. Tab visits the controls
/// row by row and the Stop button last; buttons, option buttons and the frames of text boxes have
/// access keys; Escape presses Stop. The window follows the model's changes, forwards the user's
/// input, mouse moves and closing to the window logic, and restores and keeps its placement
/// through the model.
class WindowView : public QWidget {
    Q_OBJECT
  public:
    explicit WindowView(WindowModel &window, QWidget *parent = nullptr);
    ~WindowView() override;
    WindowView(const WindowView &) = delete;
    WindowView &operator=(const WindowView &) = delete;

    WindowModel &model() { return window_; }
    /// The widget that shows the control, or null when the window has no such control.
    QWidget *widgetOf(const Control &control) const;
    /// The widget that holds the designed area's controls.
    QWidget &designedArea() const { return *canvas_; }
    QScrollArea &scrollArea() const { return *scroll_; }
    StatusLineWidget &statusLine() const { return *status_; }

  Q_SIGNALS:
    /// The window has closed and the logic's unload handler has run.
    void closed();

  protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void createControls();
    void placeControls();
    void fitToScreen();
    void restorePlacement();
    void orderTabs();
    void watchMouse();
    void followFocus();
    void showWindowState();
    void mouseMovedOver(QObject *watched, QPoint globalPosition);

    WindowModel &window_;
    QScrollArea *scroll_;
    QWidget *canvas_;
    StatusLineWidget *status_;
    std::vector<std::pair<Control *, QWidget *>> widgets_;
    /// Every widget under the pointer that stands for a control: the control's widget and
    /// the widgets it is made of.
    std::unordered_map<const QObject *, Control *> mouseTargets_;
    bool fitted_ = false;
    /// What the window shows already, so that a change of one thing redraws only that.
    struct ShownState {
        using Pointer = std::pair<MousePointer, const PointerImage *>;
        bool icon = false;
        std::optional<BackColour> backColour;
        std::optional<Pointer> pointer;
        QString skin;
        unsigned focusRequests = 0;
    } shown_;
};

} // namespace qb
