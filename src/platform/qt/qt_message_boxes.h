#pragma once

#include "platform/message_boxes.h"

#include <QString>

namespace qb {

/// Message boxes as QMessageBox dialogs, modal to the whole program, wide enough for their
/// titles.
class QtMessageBoxes : public MessageBoxes {
  public:
    MessageAnswer show(const std::string &text, const std::string &title, MessageIcon icon,
                       MessageButtons buttons) override;
};

/// The text with its CR LF and lone CR line ends turned into the line feeds Qt breaks lines at.
QString MessageText(const std::string &text);

} // namespace qb
