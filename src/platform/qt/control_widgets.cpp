#include "platform/qt/control_widgets.h"

#include "platform/controls/combo_box.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/qt/background.h"
#include "platform/qt/list_view_widget.h"
#include "platform/qt/twip_scale.h"

#include <QComboBox>
#include <QDebug>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <exception>
#include <functional>

namespace qb {
namespace {

QString qt(const std::string &text) {
    return QString::fromStdString(text);
}

QWidget *createFrame(Frame &frame, QWidget &parent) {
    auto *box = new QGroupBox(qt(frame.caption()), &parent);
    box->setAccessibleName(qt(frame.caption()));
    return box;
}

QWidget *createTextBox(TextBox &textBox, QWidget &parent) {
    auto *edit = new QLineEdit(qt(textBox.text()), &parent);
    edit->setAccessibleName(qt(textBox.name()));
    // Only the user's edits reach the model; text set from the model does not echo back.
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&textBox](const QString &text) {
        RunWindowHandler([&] { textBox.setText(text.toStdString()); });
    });
    textBox.viewChanged = [&textBox, edit] {
        const QString text = qt(textBox.text());
        if (edit->text() != text)
            edit->setText(text);
    };
    return edit;
}

QWidget *createOptionButton(OptionButton &option, QWidget &parent) {
    auto *radio = new QRadioButton(qt(option.caption()), &parent);
    radio->setAccessibleName(qt(option.caption()));
    // The model owns the exclusion between the buttons of a group.
    radio->setAutoExclusive(false);
    radio->setChecked(option.value());
    option.viewChanged = [&option, radio] { radio->setChecked(option.value()); };
    QObject::connect(radio, &QRadioButton::clicked, radio, [&option, radio] {
        RunWindowHandler([&] { option.setValue(true); });
        // Clicking a selected non-exclusive radio button unchecks it; the model says otherwise.
        radio->setChecked(option.value());
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
    box->setAccessibleName(qt(combo.name()));
    showComboItems(combo, *box);
    combo.viewChanged = [&combo, box] { showComboItems(combo, *box); };
    QObject::connect(box, &QComboBox::activated, box,
                     [&combo](int index) { RunWindowHandler([&] { combo.setListIndex(index); }); });
    return box;
}

QWidget *createPushButton(PushButton &button, QWidget &parent) {
    auto *push = new QPushButton(qt(button.caption()), &parent);
    push->setAccessibleName(qt(button.caption()));
    push->setAutoDefault(false);
    QObject::connect(push, &QPushButton::clicked, push,
                     [&button] { RunWindowHandler([&] { button.click(); }); });
    return push;
}

QWidget *createListView(ListView &list, QWidget &parent) {
    auto *view = new ListViewWidget(list, &parent);
    view->setAccessibleName(qt(list.name()));
    return view;
}

QWidget *createKindWidget(Control &control, QWidget &parent) {
    switch (control.kind()) {
    case ControlKind::Frame:
        return createFrame(static_cast<Frame &>(control), parent);
    case ControlKind::TextBox:
        return createTextBox(static_cast<TextBox &>(control), parent);
    case ControlKind::OptionButton:
        return createOptionButton(static_cast<OptionButton &>(control), parent);
    case ControlKind::ComboBox:
        return createComboBox(static_cast<ComboBox &>(control), parent);
    case ControlKind::ListView:
        return createListView(static_cast<ListView &>(control), parent);
    case ControlKind::PushButton:
        return createPushButton(static_cast<PushButton &>(control), parent);
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

QWidget *CreateControlWidget(Control &control, QWidget &parent, const TwipScale &scale) {
    QWidget *widget = createKindWidget(control, parent);
    widget->setObjectName(qt(control.name()));
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
