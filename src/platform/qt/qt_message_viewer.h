#pragma once

#include "platform/message_viewer.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace qb {

/// The message viewer as a Qt dialog, modal to the program: the text read-only, its lines
/// wrapped at the window's edge, and a Close button; Escape closes it.
class QtMessageViewer : public MessageViewer {
  public:
    void show(const std::string &title, const std::string &text) override;
};

/// The viewer's dialog over parent, ready to show.
std::unique_ptr<QDialog> MessageViewerDialog(const std::string &title, const std::string &text,
                                             QWidget *parent = nullptr);

} // namespace qb
