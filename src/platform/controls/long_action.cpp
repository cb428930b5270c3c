#include "platform/controls/long_action.h"

namespace qb {

LongAction::LongAction(WindowModel &window) : window_(window), outer_(window.runningAction()) {
    window_.setRunningAction(this);
    if (outer_)
        return;
    for (Control *control : window_.actionStarters())
        if (control->enabled()) {
            control->setEnabled(false);
            disabled_.push_back(control);
        }
    window_.statusLine().offerStop([this] { stopRequested_ = true; });
}

LongAction::~LongAction() {
    window_.setRunningAction(outer_);
    if (outer_)
        return;
    window_.statusLine().offerStop(nullptr);
    for (Control *control : disabled_)
        control->setEnabled(true);
}

bool LongAction::stopRequested() const {
    return stopRequested_ || (outer_ && outer_->stopRequested());
}

void LongAction::showStatus(const std::string &text) {
    window_.statusLine().setText(text);
}

} // namespace qb
