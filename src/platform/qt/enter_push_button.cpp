#include "platform/qt/enter_push_button.h"

#include <QKeyEvent>

namespace qb {

EnterPushButton::EnterPushButton(const QString &text, QWidget *parent) : QPushButton(text, parent) {
    setAutoDefault(false);
}

void EnterPushButton::keyPressEvent(QKeyEvent *event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace qb
