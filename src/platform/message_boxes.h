#pragma once

#include <string>

namespace qb {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

/// Modal message boxes.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    /// Shows text under title and returns the button the user pressed.
    virtual MessageAnswer show(const std::string &text, const std::string &title, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

/// The modal input box: a prompt, a title and a preset answer.
class InputBoxes {
  public:
    virtual ~InputBoxes() = default;
    /// Returns what the user typed, or the empty text on Cancel.
    virtual std::string ask(const std::string &prompt, const std::string &title,
                            const std::string &preset) = 0;
};

} // namespace qb
