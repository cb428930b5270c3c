#include "platform/controls/combo_box.h"

#include "failure/failure.h"

namespace qb {

void ComboBox::addItem(const std::string &item) {
    items_.push_back(item);
    notifyView();
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size()))
        throw Failure(error_number::invalidPropertyValue, programSource, "Invalid property value");
    const bool changed = index != listIndex_;
    listIndex_ = index;
    notifyView();
    if (changed && onClick)
        onClick();
}

std::string ComboBox::text() const {
    return listIndex_ < 0 ? std::string() : items_[static_cast<std::size_t>(listIndex_)];
}

} // namespace qb
