#pragma once

#include <string>

namespace qb {

/// Shows the text of one message to read, read-only, over the program's windows: the text that
/// saving the message would write, under a title that names it. Returns when the user has closed
/// the view (Escape closes it). Nothing is written.
class MessageViewer {
  public:
    virtual ~MessageViewer() = default;
    /// Shows the text under the title; failures of the view reach the caller.
    virtual void show(const std::string &title, const std::string &text) = 0;
};

} // namespace qb
