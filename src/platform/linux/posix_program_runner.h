#pragma once

#include "platform/program_runner.h"

#include <map>

namespace qb {

/// Starts programs with posix_spawn, which reports a program that cannot be run as the error
/// number of its own result, and collects their exit codes with waitpid.
class PosixProgramRunner : public ProgramRunner {
  public:
    ProgramStart start(const std::vector<std::string> &arguments) override;
    std::optional<int> exitCode(int processId) override;

  private:
    /// Exit codes of processes already collected, which waitpid cannot report a second time.
    std::map<int, int> ended_;
};

} // namespace qb
