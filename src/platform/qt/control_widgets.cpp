#include "platform/qt/control_widgets.h"

#include "platform/controls/combo_box.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/qt/background.h"
#include "platform/qt/enter_push_button.h"
#include "platform/qt/list_view_widget.h"
#include "platform/qt/twip_scale.h"

#include <QComboBox>
#include <QDebug>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include <exception>
#include <functional>

namespace qb {
namespace {

QString qt(const std::string &text) {
    return QString::fromStdString(text);
}

/// The caption as Qt shows it: its own "&" doubled, and "&" before the access key's letter.
QString CaptionText(const Control &control, std::optional<std::size_t> accessKey) {
    const std::string &caption = control.caption();
    std::string text;
    for (std::size_t at = 0; at < caption.size(); ++at) {
        if (accessKey && *accessKey == at)
            text += '&';
        text += caption[at];
        if (caption[at] == '&')
            text += '&';
    }
    return qt(text);
}

QWidget *createFrame(Frame &frame, QWidget &parent, const QString &caption) {
    auto *box = new QGroupBox(caption, &parent);
    box->setAccessibleName(qt(frame.accessibleName()));
    return box;
}

QWidget *createTextBox(TextBox &textBox, QWidget &parent) {
    auto *edit = new QLineEdit(qt(textBox.text()), &parent);
    // Only the user's edits reach the model; text set from the model does not echo back.
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&textBox](const QString &text) {
        RunWindowHandler([&] { textBox.setText(text.toStdString()); });
    });
    QObject::connect(edit, &QLineEdit::returnPressed, edit,
                     [&textBox] { RunWindowHandler([&] { textBox.pressEnter(); }); });
    textBox.viewChanged = [&textBox, edit] {
        const QString text = qt(textBox.text());
        if (edit->text() != text)
            edit->setText(text);
    };
    return edit;
}

/// Shows the model's value. Qt refuses to clear the checked button of an exclusive group, while
/// the model may leave both buttons of a pair cleared, so the exclusion is lifted for the change.
void showOptionValue(const OptionButton &option, QRadioButton &radio) {
    if (radio.isChecked() == option.value())
        return;
    radio.setAutoExclusive(false);
    radio.setChecked(option.value());
    radio.setAutoExclusive(true);
}

QWidget *createOptionButton(OptionButton &option, QWidget &parent, const QString &caption) {
    // An exclusive button is announced as an option button, not as a check box. The buttons of
    // one frame are one group, as in the model.
    auto *radio = new QRadioButton(caption, &parent);
    radio->setAutoExclusive(true);
    showOptionValue(option, *radio);
    option.viewChanged = [&option, radio] { showOptionValue(option, *radio); };
    QObject::connect(radio, &QRadioButton::clicked, radio, [&option, radio] {
        RunWindowHandler([&] { option.setValue(true); });
        showOptionValue(option, *radio);
    });
    return radio;
}

void showComboItems(const ComboBox &combo, QComboBox &box) {
    const QSignalBlocker quiet(box);
    const auto &items = combo.items();
    if (box.count() != static_cast<int>(items.size())) {
        box.clear();
        for (const std::string &item : items)
            box.addItem(qt(item));
    }
    if (box.currentIndex() != combo.listIndex())
        box.setCurrentIndex(combo.listIndex());
}

QWidget *createComboBox(ComboBox &combo, QWidget &parent) {
    auto *box = new QComboBox(&parent);
    box->setEditable(false);
    showComboItems(combo, *box);
    combo.viewChanged = [&combo, box] { showComboItems(combo, *box); };
    QObject::connect(box, &QComboBox::activated, box,
                     [&combo](int index) { RunWindowHandler([&] { combo.setListIndex(index); }); });
    return box;
}

QWidget *createPushButton(PushButton &button, QWidget &parent, const QString &caption) {
    auto *push = new EnterPushButton(caption, &parent);
    QObject::connect(push, &QPushButton::clicked, push,
                     [&button] { RunWindowHandler([&] { button.click(); }); });
    return push;
}

QWidget *createKindWidget(Control &control, QWidget &parent, const QString &caption) {
    switch (control.kind()) {
    case ControlKind::Frame:
        return createFrame(static_cast<Frame &>(control), parent, caption);
    case ControlKind::TextBox:
        return createTextBox(static_cast<TextBox &>(control), parent);
    case ControlKind::OptionButton:
        return createOptionButton(static_cast<OptionButton &>(control), parent, caption);
    case ControlKind::ComboBox:
        return createComboBox(static_cast<ComboBox &>(control), parent);
    case ControlKind::ListView:
        return new ListViewWidget(static_cast<ListView &>(control), &parent);
    case ControlKind::PushButton:
        return createPushButton(static_cast<PushButton &>(control), parent, caption);
    }
    return new QWidget(&parent);
}

/// Frames and option buttons show their model's background; the other kinds keep the look of
/// their kind (white fields, button-face buttons).
bool showsBackColour(ControlKind kind) {
    return kind == ControlKind::Frame || kind == ControlKind::OptionButton;
}

void showCommonState(const Control &control, QWidget &widget) {
    widget.setEnabled(control.enabled());
    if (!showsBackColour(control.kind()))
        return;
    ShowBackColour(widget, control.backColour());
    // The style shades a frame's inside a little; an option button of the frame's own colour
    // lets that shade through instead of showing a lighter box around its caption.
    const Frame *frame = control.container();
    if (control.kind() == ControlKind::OptionButton && frame &&
        frame->backColour() == control.backColour())
        widget.setAutoFillBackground(false);
}

} // namespace

QWidget *CreateControlWidget(Control &control, QWidget &parent, const TwipScale &scale,
                             std::optional<std::size_t> accessKey) {
    QWidget *widget = createKindWidget(control, parent, CaptionText(control, accessKey));
    widget->setObjectName(qt(control.name()));
    widget->setAccessibleName(qt(control.accessibleName()));
    widget->setGeometry(scale.rect(control.rect()));
    showCommonState(control, *widget);
    // Wrap the kind's own listener so that enabled state and background follow as well.
    std::function<void()> showKindState = std::move(control.viewChanged);
    control.viewChanged = [&control, widget, showKindState] {
        showCommonState(control, *widget);
        if (showKindState)
            showKindState();
    };
    return widget;
}

void RunWindowHandler(const std::function<void()> &handler) {
    if (!handler)
        return;
    // The logic guards its own actions; whatever still escapes must not unwind through Qt's
    // event dispatch.
    try {
        handler();
    } catch (const std::exception &failure) {
        qWarning() << "Unhandled failure in a window handler:" << failure.what();
    }
}

void ReleaseControlWidget(Control &control) {
    control.viewChanged = nullptr;
}

} // namespace qb
