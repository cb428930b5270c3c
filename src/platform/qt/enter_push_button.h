#pragma once

#include <QPushButton>

namespace qb {

/// A push button that Enter presses as well as Space, as on the desktop the program was designed
/// for; it is never a dialog's default button.
class EnterPushButton : public QPushButton {
    Q_OBJECT
  public:
    explicit EnterPushButton(const QString &text, QWidget *parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace qb
