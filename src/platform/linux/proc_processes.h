#pragma once

#include "platform/processes.h"

namespace qb {

/// Running processes as /proc shows them. A process's name and parent come from /proc/PID/stat
/// and its first argument is the start of /proc/PID/cmdline; processes that end while the list
/// is taken are passed over.
class ProcProcesses : public Processes {
  public:
    /// A snapshot of the processes under /proc; throws Failure when /proc cannot be read.
    std::vector<ProcessEntry> list() override;
    /// Sends SIGKILL; throws Failure when the process may not be signalled or is gone.
    void terminate(int processId) override;
    int ownId() override;
};

} // namespace qb
