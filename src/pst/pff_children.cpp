#include "pst/pff_children.h"

#include "pst/pff_error.h"

namespace qb {

void RaiseIndexOutOfBounds(int index, int count) {
    throw PffFailure("Array index out of bounds: item " + std::to_string(index) +
                         " asked of a collection of " + std::to_string(count) + ".",
                     pff_failure::indexOutOfBounds);
}

PffChildren::PffChildren(std::shared_ptr<PffItemHandle> parent, const PffChildKind &kind)
    : parent_(std::move(parent)), kind_(kind) {}

int PffChildren::count() {
    int count = 0;
    PffError error;
    if (kind_.count(parent_->get(), &count, error.out()) != 1)
        parent_->raise(error, std::string("cannot count the ") + kind_.noun + "s");
    return count;
}

std::shared_ptr<PffItemHandle> PffChildren::item(int index) {
    const int total = count();
    if (index < 1 || index > total)
        RaiseIndexOutOfBounds(index, total);
    PffItem child;
    PffError error;
    if (kind_.child(parent_->get(), index - 1, Receive(child), error.out()) != 1)
        parent_->raise(error,
                       std::string("cannot read ") + kind_.noun + " " + std::to_string(index));
    return std::make_shared<PffItemHandle>(parent_->sharedFile(), std::move(child), kind_.kind,
                                           parent_);
}

} // namespace qb
