#include "platform/qt/window_view.h"

#include "platform/controls/access_keys.h"
#include "platform/controls/tab_order.h"
#include "platform/qt/background.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/pointer_cursor.h"
#include "platform/qt/status_line_widget.h"
#include "platform/qt/twip_scale.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEnterEvent>
#include <QFont>
#include <QIcon>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qb {
namespace {

/// The controls' rectangles were designed around an 8-point font; the larger default fonts
/// of Linux desktops would cut their captions.
constexpr double designFontPointSize = 8.0;

/// What a window manager adds around a window: borders and a title bar.
constexpr QSize windowFrameAllowance(16, 48);

/// Room enough on any screen, for a window whose content scrolls.
constexpr QSize smallestScrollingSize(240, 180);

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

WindowSizes SizesForScreen(QSize wanted, QSize room, int scrollBarExtent) {
    if (wanted.width() <= room.width() && wanted.height() <= room.height())
        return {wanted, wanted};
    // The scroll bar of the side that does not fit would take its room from the other side and
    // call for a second scroll bar there: the window grows by it where the screen allows.
    QSize scrolling = wanted;
    if (wanted.height() > room.height())
        scrolling.rwidth() += scrollBarExtent;
    if (wanted.width() > room.width())
        scrolling.rheight() += scrollBarExtent;
    return {wanted.boundedTo(smallestScrollingSize), scrolling.boundedTo(room)};
}

WindowView::WindowView(WindowModel &window, QWidget *parent)
    : QWidget(parent), window_(window), scroll_(new QScrollArea(this)), canvas_(new QWidget),
      status_(new StatusLineWidget(window.statusLine(), this)) {
    setObjectName(QString::fromStdString(window.name()));
    QFont designFont = font();
    designFont.setPointSizeF(designFontPointSize);
    setFont(designFont);
    canvas_->setObjectName(QStringLiteral("DesignedArea"));
    canvas_->setMinimumSize(TwipScale::of(*this).size(window.clientWidth(), window.clientHeight()));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidgetResizable(true);
    scroll_->viewport()->setAutoFillBackground(false);
    scroll_->setWidget(canvas_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll_, 1);
    layout->addWidget(status_);
    createControls();
    orderTabs();
    watchMouse();
    followFocus();
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this,
            [this] { RunWindowHandler([this] { window_.statusLine().pressStop(); }); });
    window_.viewChanged = [this] { showWindowState(); };
    showWindowState();
    // The designed size until the window shows on a screen that may have less room.
    const QSize wanted = canvas_->minimumSize() + QSize(0, status_->sizeHint().height());
    setMinimumSize(wanted);
    resize(wanted);
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
    const std::map<const Control *, std::size_t> accessKeys = AccessKeys(window_);
    // Frames first, so that every control finds the widget of its frame.
    std::vector<Control *> ordered = window_.controls();
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](Control *control) { return control->kind() == ControlKind::Frame; });
    for (Control *control : ordered) {
        QWidget *parent = control->container() ? widgetOf(*control->container()) : nullptr;
        const auto key = accessKeys.find(control);
        widgets_.emplace_back(control,
                              CreateControlWidget(*control, parent ? *parent : *canvas_, scale,
                                                  key == accessKeys.end()
                                                      ? std::nullopt
                                                      : std::optional<std::size_t>(key->second)));
    }
    canvas_->installEventFilter(this);
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

void WindowView::showEvent(QShowEvent *event) {
    // Only now is the screen known that the window goes to.
    if (!fitted_) {
        fitted_ = true;
        fitToScreen();
        restorePlacement();
    }
    QWidget::showEvent(event);
}

void WindowView::fitToScreen() {
    const QSize wanted = canvas_->minimumSize() + QSize(0, status_->sizeHint().height());
    const QSize room = screen()->availableGeometry().size() - windowFrameAllowance;
    const WindowSizes sizes = SizesForScreen(
        wanted, room, scroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_));
    setMinimumSize(sizes.smallest);
    resize(sizes.first);
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
    std::vector<QWidget *> chain;
    for (const Control *control : TabOrder(window_))
        if (QWidget *widget = widgetOf(*control))
            chain.push_back(widget);
    chain.push_back(&status_->stopButton());
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void WindowView::followFocus() {
    // Tab, an access key or the logic may give the focus to a control scrolled out of sight.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && canvas_->isAncestorOf(now))
            scroll_->ensureWidgetVisible(now, 4, 4);
    });
}

void WindowView::watchMouse() {
    for (const auto &[control, widget] : widgets_)
        mouseTargets_[widget] = control;
    // The parts a control is made of (a list's viewport and header) count as the control.
    for (const auto &[control, widget] : widgets_)
        for (QWidget *part : widget->findChildren<QWidget *>())
            mouseTargets_.try_emplace(part, control);
    // Moves over the window's background travel up through these to the window itself.
    std::vector<QWidget *> background{this, scroll_, scroll_->viewport(), canvas_, status_};
    for (QWidget *part : status_->findChildren<QWidget *>())
        background.push_back(part);
    // A widget that does not track the mouse would swallow the move.
    for (QWidget *widget : background)
        widget->setMouseTracking(true);
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
    else if (watched == canvas_ && event->type() == QEvent::Resize)
        placeControls();
    return QWidget::eventFilter(watched, event);
}

void WindowView::mouseMovedOver(QObject *watched, QPoint globalPosition) {
    // A move the child ignores travels on to its parents; only the widget under the pointer
    // may answer it, so that a button's move is not undone by its frame's. Whatever stands for
    // no control is the window's background, which the window itself answers for.
    QWidget *hit = childAt(mapFromGlobal(globalPosition));
    while (hit && !mouseTargets_.contains(hit))
        hit = hit == this ? nullptr : hit->parentWidget();
    if (!hit) {
        if (watched == this)
            RunWindowHandler(window_.onMouseMove);
        return;
    }
    if (hit == watched)
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
        ShowBackColour(*canvas_, window_.backColour());
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
