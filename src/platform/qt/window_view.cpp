#include "platform/qt/window_view.h"

#include "platform/qt/background.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/pointer_cursor.h"
#include "platform/qt/twip_scale.h"

#include <QCloseEvent>
#include <QEnterEvent>
#include <QFont>
#include <QIcon>
#include <QMouseEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace qb {
namespace {

/// Top-left corner of the control in twips from the window's client area.
std::pair<int, int> windowPosition(const Control &control) {
    int top = 0;
    int left = 0;
    for (const Control *part = &control; part; part = part->container()) {
        top += part->rect().top;
        left += part->rect().left;
    }
    return {top, left};
}

/// The controls' rectangles were designed around an 8-point font; the larger default fonts
/// of Linux desktops would cut their captions.
constexpr double designFontPointSize = 8.0;

bool takesFocus(ControlKind kind) {
    return kind != ControlKind::Frame;
}

/// The rectangle of a control whose container is extra larger than designed: each edge moves
/// by its share of the extra, so that neighbours sharing an edge stay together.
QRect grownRect(const QRect &designed, const Growth &growth, QSize extra) {
    const auto share = [](double part, int whole) {
        return static_cast<int>(std::lround(part * whole));
    };
    const int left = designed.left() + share(growth.left, extra.width());
    const int top = designed.top() + share(growth.top, extra.height());
    const int right = designed.x() + designed.width() + share(growth.right, extra.width());
    const int bottom = designed.y() + designed.height() + share(growth.bottom, extra.height());
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

WindowView::WindowView(WindowModel &window, QWidget *parent) : QWidget(parent), window_(window) {
    setObjectName(QString::fromStdString(window.name()));
    const QSize designed = TwipScale::of(*this).size(window.clientWidth(), window.clientHeight());
    setMinimumSize(designed);
    resize(designed);
    QFont designFont = font();
    designFont.setPointSizeF(designFontPointSize);
    setFont(designFont);
    createControls();
    orderTabs();
    watchMouse();
    window_.viewChanged = [this] { showWindowState(); };
    showWindowState();
    restorePlacement();
}

WindowView::~WindowView() {
    window_.viewChanged = nullptr;
    for (auto &[control, widget] : widgets_)
        ReleaseControlWidget(*control);
}

QWidget *WindowView::widgetOf(const Control &control) const {
    for (const auto &[shown, widget] : widgets_)
        if (shown == &control)
            return widget;
    return nullptr;
}

void WindowView::createControls() {
    const TwipScale scale = TwipScale::of(*this);
    // Frames first, so that every control finds the widget of its frame.
    std::vector<Control *> ordered = window_.controls();
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](Control *control) { return control->kind() == ControlKind::Frame; });
    for (Control *control : ordered) {
        QWidget *parent = control->container() ? widgetOf(*control->container()) : nullptr;
        widgets_.emplace_back(control,
                              CreateControlWidget(*control, parent ? *parent : *this, scale));
    }
}

void WindowView::placeControls() {
    const TwipScale scale = TwipScale::of(*this);
    // Frames come first, so a frame has its new size before its controls follow it.
    for (const auto &[control, widget] : widgets_) {
        const Frame *frame = control->container();
        const QSize designedContainer =
            frame ? scale.rect(frame->rect()).size()
                  : scale.size(window_.clientWidth(), window_.clientHeight());
        const QSize extra =
            (widget->parentWidget()->size() - designedContainer).expandedTo(QSize(0, 0));
        widget->setGeometry(grownRect(scale.rect(control->rect()), control->growth(), extra));
    }
}

void WindowView::resizeEvent(QResizeEvent *event) {
    placeControls();
    QWidget::resizeEvent(event);
}

void WindowView::restorePlacement() {
    if (!window_.readPlacement)
        return;
    RunWindowHandler([this] {
        const std::string saved = window_.readPlacement();
        // A placement from another screen is moved onto this one by Qt; never below the minimum.
        if (!saved.empty())
            restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(saved)));
    });
}

void WindowView::orderTabs() {
    std::vector<std::pair<Control *, QWidget *>> focusable;
    std::copy_if(widgets_.begin(), widgets_.end(), std::back_inserter(focusable),
                 [](const auto &entry) { return takesFocus(entry.first->kind()); });
    std::stable_sort(focusable.begin(), focusable.end(), [](const auto &a, const auto &b) {
        return windowPosition(*a.first) < windowPosition(*b.first);
    });
    for (std::size_t i = 1; i < focusable.size(); ++i)
        setTabOrder(focusable[i - 1].second, focusable[i].second);
}

void WindowView::watchMouse() {
    for (const auto &[control, widget] : widgets_)
        mouseTargets_[widget] = control;
    // The parts a control is made of (a list's viewport and header) count as the control.
    for (const auto &[control, widget] : widgets_)
        for (QWidget *part : widget->findChildren<QWidget *>())
            mouseTargets_.try_emplace(part, control);
    setMouseTracking(true);
    installEventFilter(this);
    for (const auto &[target, control] : mouseTargets_) {
        auto *widget = static_cast<QWidget *>(const_cast<QObject *>(target));
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
}

bool WindowView::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseMove)
        mouseMovedOver(watched, static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
    else if (event->type() == QEvent::Enter)
        mouseMovedOver(watched, static_cast<QEnterEvent *>(event)->globalPosition().toPoint());
    return QWidget::eventFilter(watched, event);
}

void WindowView::mouseMovedOver(QObject *watched, QPoint globalPosition) {
    // A move the child ignores travels on to its parents; only the widget under the pointer
    // may answer it, so that a button's move is not undone by its frame's.
    QWidget *hit = childAt(mapFromGlobal(globalPosition));
    while (hit && hit != this && !mouseTargets_.contains(hit))
        hit = hit->parentWidget();
    if (!hit)
        hit = this;
    if (hit != watched)
        return;
    if (watched == this)
        RunWindowHandler(window_.onMouseMove);
    else
        RunWindowHandler([control = mouseTargets_.at(watched)] { control->mouseMove(); });
}

void WindowView::showWindowState() {
    // The pointer changes with nearly every mouse move: touch only what has changed.
    const QString caption = QString::fromStdString(window_.caption());
    if (windowTitle() != caption)
        setWindowTitle(caption);
    if (window_.hasIcon() && !shown_.icon) {
        shown_.icon = true;
        setWindowIcon(QIcon(QStringLiteral(":/quillbarrow.png")));
    }
    if (shown_.backColour != window_.backColour()) {
        shown_.backColour = window_.backColour();
        ShowBackColour(*this, window_.backColour());
    }
    const ShownState::Pointer pointer{window_.pointer(), window_.customPointer().get()};
    if (shown_.pointer != pointer) {
        shown_.pointer = pointer;
        setCursor(CursorFor(window_));
    }
    const QString skin = QString::fromStdString(window_.skin());
    if (skin != shown_.skin) {
        shown_.skin = skin;
        setStyleSheet(skin);
    }
    if (shown_.focusRequests != window_.focusRequests()) {
        shown_.focusRequests = window_.focusRequests();
        if (QWidget *focused = widgetOf(*window_.focus()))
            focused->setFocus(Qt::OtherFocusReason);
    }
}

void WindowView::closeEvent(QCloseEvent *event) {
    // Before the unload handlers: closing the main window ends the program.
    if (window_.writePlacement)
        RunWindowHandler(
            [this] { window_.writePlacement(saveGeometry().toBase64().toStdString()); });
    RunWindowHandler(window_.onQueryUnload);
    event->accept();
    RunWindowHandler(window_.onUnload);
    Q_EMIT closed();
}

} // namespace qb
