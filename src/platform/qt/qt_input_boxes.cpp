#include "platform/qt/qt_input_boxes.h"

#include "platform/qt/qt_message_boxes.h"

#include <QApplication>
#include <QInputDialog>

namespace qb {

std::string QtInputBoxes::ask(const std::string &prompt, const std::string &title,
                              const std::string &preset) {
    bool accepted = false;
    const QString answer = QInputDialog::getText(
        QApplication::activeWindow(), QString::fromStdString(title), MessageText(prompt),
        QLineEdit::Normal, QString::fromStdString(preset), &accepted);
    return accepted ? answer.toStdString() : std::string();
}

} // namespace qb
