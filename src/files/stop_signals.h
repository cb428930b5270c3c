#pragma once

#include <csignal>
#include <string>

namespace qb::files {

/// Turns SIGINT, SIGTERM and SIGHUP into a request to stop that long work looks at between its
/// steps (after each message), so that it ends cleanly: it removes what it staged, keeps what it
/// wrote whole and says how far it got, instead of dying half-way. The signals are caught while
/// the object lives and handled as before once it is gone; at most one object may live at a
/// time. A second signal of the same kind ends the process at once, as it would have without
/// this object, for work that does not come to a step soon enough.
class StopSignals {
  public:
    /// Starts catching the signals; throws Failure when the system refuses.
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

    /// True once one of the signals arrived; safe to ask from any thread.
    bool stopRequested() const;
    /// The first signal that arrived, 0 while none did.
    int signal() const;
    /// Its name ("SIGINT", "SIGTERM", "SIGHUP"), empty while none arrived.
    std::string signalName() const;
    /// The exit status of a program that stops for the signal, as the shell reports one killed
    /// by it: 128 + its number (130 for SIGINT, 143 for SIGTERM, 129 for SIGHUP); 0 while none
    /// arrived.
    int exitCode() const;

  private:
    struct sigaction previous_[3];
};

} // namespace qb::files
