#pragma once

#include "platform/controls/status_line.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace qb {

/// Shows a window's status line: the model's text, cut with an ellipsis when the window is too
/// narrow (screen readers and the tool tip get all of it), and a "Stop" button enabled while the
/// model offers Stop. A new text shows at once when the last one has shown for a tenth of a second,
/// else when that time is up: a listing that counts every message must not spend its time drawing.
class StatusLineWidget : public QWidget {
    Q_OBJECT
  public:
    StatusLineWidget(StatusLine &line, QWidget *parent = nullptr);
    ~StatusLineWidget() override;
    StatusLineWidget(const StatusLineWidget &) = delete;
    StatusLineWidget &operator=(const StatusLineWidget &) = delete;

    QPushButton &stopButton() { return *stop_; }
    /// The whole text the line shows now.
    const QString &shownText() const { return fullText_; }

    /// The least time one text shows before the next replaces it.
    static constexpr int refreshMilliseconds = 100;

  protected:
    void resizeEvent(QResizeEvent *event) override;

  private:
    void modelChanged();
    void showText();
    void elideText();

    StatusLine &line_;
    QLabel *text_;
    QPushButton *stop_;
    QString fullText_;
    QTimer refresh_;
    QElapsedTimer sinceShown_;
};

} // namespace qb
