#pragma once

#include "platform/controls/control.h"

#include <string>
#include <vector>

namespace qb {

/// A drop-down list. Its list index is -1 (nothing chosen) or 0-based into the items; choosing
/// an item fires the click handler. An index outside -1 .. item count - 1 throws Failure 380.
class ComboBox : public Control {
  public:
    ComboBox(std::string name, TwipRect rect, Frame *container = nullptr)
        : Control(ControlKind::ComboBox, std::move(name), std::string(), rect, container) {}

    void addItem(const std::string &item);
    const std::vector<std::string> &items() const { return items_; }
    int listIndex() const { return listIndex_; }
    void setListIndex(int index);
    /// The chosen item's text, or the empty text.
    std::string text() const;

    std::function<void()> onClick;

  private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

} // namespace qb
