#pragma once

#include <string>
#include <utility>

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

/// The program's own message boxes ("Done.", warnings, help texts, questions): each one
/// captioned with the application title, which start-up may change.
class TitledMessageBoxes {
  public:
    explicit TitledMessageBoxes(MessageBoxes &boxes, std::string title = "Quillbarrow")
        : boxes_(boxes), title_(std::move(title)) {}

    /// Shows text under the application title and returns the button the user pressed.
    /// Failures of the box reach the caller.
    MessageAnswer show(const std::string &text, MessageButtons buttons = MessageButtons::Ok,
                       MessageIcon icon = MessageIcon::None) {
        return boxes_.show(text, title_, icon, buttons);
    }

    const std::string &title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

  private:
    MessageBoxes &boxes_;
    std::string title_;
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
