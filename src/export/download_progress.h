#pragma once

#include "platform/clock.h"
#include "platform/controls/long_action.h"
#include "platform/controls/window_model.h"

#include <optional>
#include <string>

namespace qb::exporting {

/// The least time one message of "Start Downloading" takes: a second's sleep and half a second's
/// pause, so that no two files of a run get the same time stamp.
inline constexpr double secondsPerMessageAtLeast = 1.5;

/// One run of "Start Downloading" as the window shows it: a long action whose status line tells
/// which message is being saved, of how many, and about how long the rest will take ("Saving
/// message 12 of 58, about 1 min 10 s left"), and whose Stop ends the run after the current
/// message. At the end the line keeps what was done ("Saved 58 messages to …/Desktop", "Stopped
/// after 12 of 58").
class DownloadProgress {
  public:
    /// A run that expects to take `total` messages, timed by the clock.
    DownloadProgress(WindowModel &window, Clock &clock, int total);

    bool stopRequested() const { return action_.stopRequested(); }
    /// Message number `taken` (from 1) of the run starts. The time left is the messages still to
    /// come, this one included, at the pace of those before it (at first the least a message
    /// takes). A list that has grown meanwhile raises the total.
    void startMessage(int taken);
    /// A message was saved whole.
    void messageSaved() { ++saved_; }
    /// Leaves the closing line: how many messages were done of how many when stopped, else how
    /// many were saved where (a folder or the combined file).
    void finish(int done, const std::string &destination);

  private:
    LongAction action_;
    Clock &clock_;
    int total_;
    std::optional<double> firstStart_;
    int saved_ = 0;
};

} // namespace qb::exporting
