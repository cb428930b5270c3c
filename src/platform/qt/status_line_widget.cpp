#include "platform/qt/status_line_widget.h"

#include "platform/qt/control_widgets.h"
#include "platform/qt/enter_push_button.h"

#include <QHBoxLayout>
#include <QLabel>

namespace qb {

StatusLineWidget::StatusLineWidget(StatusLine &line, QWidget *parent)
    : QWidget(parent), line_(line), text_(new QLabel(this)),
      stop_(new EnterPushButton(QStringLiteral("Stop"), this)) {
    setObjectName(QStringLiteral("StatusLine"));
    stop_->setObjectName(QStringLiteral("Stop"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 2, 2);
    // A long text must not widen the window: it is cut to the room there is.
    text_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    text_->setTextFormat(Qt::PlainText);
    layout->addWidget(text_, 1);
    stop_->setToolTip(QStringLiteral("Stops the running action after the current message (Esc)"));
    stop_->setAccessibleDescription(stop_->toolTip());
    layout->addWidget(stop_);
    refresh_.setSingleShot(true);
    connect(&refresh_, &QTimer::timeout, this, &StatusLineWidget::showText);
    connect(stop_, &QPushButton::clicked, this,
            [this] { RunWindowHandler([this] { line_.pressStop(); }); });
    line_.viewChanged = [this] { modelChanged(); };
    stop_->setEnabled(line_.stopEnabled());
    showText();
}

StatusLineWidget::~StatusLineWidget() {
    line_.viewChanged = nullptr;
}

void StatusLineWidget::modelChanged() {
    stop_->setEnabled(line_.stopEnabled());
    if (QString::fromStdString(line_.text()) == fullText_ || refresh_.isActive())
        return;
    const qint64 shown = sinceShown_.isValid() ? sinceShown_.elapsed() : refreshMilliseconds;
    if (shown >= refreshMilliseconds)
        showText();
    else
        refresh_.start(static_cast<int>(refreshMilliseconds - shown));
}

void StatusLineWidget::showText() {
    fullText_ = QString::fromStdString(line_.text());
    sinceShown_.start();
    text_->setToolTip(fullText_);
    text_->setAccessibleName(fullText_.isEmpty() ? QStringLiteral("Status") : fullText_);
    elideText();
}

void StatusLineWidget::elideText() {
    text_->setText(text_->fontMetrics().elidedText(fullText_, Qt::ElideRight, text_->width()));
}

void StatusLineWidget::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    elideText();
}

} // namespace qb
