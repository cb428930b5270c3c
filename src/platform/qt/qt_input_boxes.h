#pragma once

#include "platform/message_boxes.h"

#include <QInputDialog>

namespace qb {

/// The input box as a QInputDialog with the prompt, title and preset answer, wide enough for its
/// title.
class QtInputBoxes : public InputBoxes {
  public:
    std::string ask(const std::string &prompt, const std::string &title,
                    const std::string &preset) override;
};

/// Dresses the dialog as the input box shows it.
void PrepareInputDialog(QInputDialog &dialog, const std::string &prompt, const std::string &title,
                        const std::string &preset);

} // namespace qb
