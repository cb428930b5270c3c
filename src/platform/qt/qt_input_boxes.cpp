#include "platform/qt/qt_input_boxes.h"

#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/title_width.h"

#include <QApplication>
#include <QLayout>
#include <QLineEdit>

namespace qb {

void PrepareInputDialog(QInputDialog &dialog, const std::string &prompt, const std::string &title,
                        const std::string &preset) {
    const QString shownTitle = QString::fromStdString(title);
    dialog.setWindowTitle(shownTitle);
    dialog.setLabelText(MessageText(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString::fromStdString(preset));
    // The dialog's layout fixes its size from its contents: the width goes to the text field.
    if (auto *field = dialog.findChild<QLineEdit *>()) {
        const QMargins margins = dialog.layout() ? dialog.layout()->contentsMargins() : QMargins();
        field->setMinimumWidth(TitleBarWidth(dialog, shownTitle) - margins.left() -
                               margins.right());
    }
}

std::string QtInputBoxes::ask(const std::string &prompt, const std::string &title,
                              const std::string &preset) {
    QInputDialog dialog(QApplication::activeWindow());
    PrepareInputDialog(dialog, prompt, title, preset);
    if (dialog.exec() != QDialog::Accepted)
        return std::string();
    return dialog.textValue().toStdString();
}

} // namespace qb
