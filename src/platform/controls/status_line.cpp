#include "platform/controls/status_line.h"

namespace qb {

void StatusLine::setText(const std::string &text) {
    if (text == text_)
        return;
    text_ = text;
    notifyView();
}

void StatusLine::offerStop(std::function<void()> handler) {
    onStop_ = std::move(handler);
    notifyView();
}

void StatusLine::pressStop() {
    // The handler may withdraw Stop itself; a copy keeps it alive while it runs.
    if (const std::function<void()> handler = onStop_)
        handler();
}

} // namespace qb
