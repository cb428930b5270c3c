#pragma once

#include "platform/message_boxes.h"

namespace qb {

/// The input box as a QInputDialog with the prompt, title and preset answer.
class QtInputBoxes : public InputBoxes {
  public:
    std::string ask(const std::string &prompt, const std::string &title,
                    const std::string &preset) override;
};

} // namespace qb
