#include "export/download_progress.h"

#include "platform/controls/status_text.h"

#include <algorithm>

namespace qb::exporting {

DownloadProgress::DownloadProgress(WindowModel &window, Clock &clock, int total)
    : action_(window), clock_(clock), total_(total) {}

void DownloadProgress::startMessage(int taken) {
    total_ = std::max(total_, taken);
    const double now = clock_.secondsSinceMidnight();
    if (!firstStart_)
        firstStart_ = now;
    const double perMessage =
        taken > 1 ? SecondsBetween(*firstStart_, now) / (taken - 1) : secondsPerMessageAtLeast;
    const double left = perMessage * (total_ - taken + 1);
    action_.showStatus("Saving message " + GroupedNumber(taken) + " of " + GroupedNumber(total_) +
                       ", about " + DurationText(left) + " left");
}

void DownloadProgress::finish(int done, const std::string &destination) {
    if (stopRequested())
        action_.showStatus("Stopped after " + GroupedNumber(done) + " of " +
                           GroupedNumber(std::max(total_, done)));
    else if (saved_ == 0)
        action_.showStatus("No messages saved");
    else
        action_.showStatus("Saved " + CountOf(saved_, "message") + " to " +
                           ShortenedPath(destination));
}

} // namespace qb::exporting
