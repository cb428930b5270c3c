#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qb {

/// A program start: the new process's id, or the system error number that kept it from starting.
struct ProgramStart {
    int processId = 0;
    /// 0 when the program started.
    int error = 0;
};

/// Starts programs directly, without a shell, and tells when they have ended.
class ProgramRunner {
  public:
    virtual ~ProgramRunner() = default;
    /// Starts the program named by arguments[0] (a path; no search along PATH) with all of
    /// arguments as its argument vector. A program that cannot be started (missing, not
    /// executable, no arguments at all) gives its error number; never throws.
    virtual ProgramStart start(const std::vector<std::string> &arguments) = 0;
    /// The exit code once the started process has ended, nothing while it runs; a process ended
    /// by a signal gives 128 + the signal's number. Throws Failure when the process is not one
    /// this runner started.
    virtual std::optional<int> exitCode(int processId) = 0;
};

} // namespace qb
