#pragma once

#include "platform/controls/window_model.h"

#include <QWidget>

#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qb {

/// Draws any window model as a Qt window: one widget per control at its twip rectangle, frames
/// as group boxes holding their controls. The window opens at its designed size and cannot be
/// made smaller; when the user makes it larger, each control moves and stretches by its growth.
/// The window follows the model's changes, forwards the user's input, mouse moves and closing to
/// the window logic, and restores and keeps its placement through the model.
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

  Q_SIGNALS:
    /// The window has closed and the logic's unload handler has run.
    void closed();

  protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void createControls();
    void placeControls();
    void restorePlacement();
    void orderTabs();
    void watchMouse();
    void showWindowState();
    void mouseMovedOver(QObject *watched, QPoint globalPosition);

    WindowModel &window_;
    std::vector<std::pair<Control *, QWidget *>> widgets_;
    /// Every widget under the pointer that stands for a control: the control's widget and
    /// the widgets it is made of.
    std::unordered_map<const QObject *, Control *> mouseTargets_;
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
