#pragma once

#include "cli/export_options.h"

#include <ostream>
#include <string>

namespace qb::cli {

/// Exit codes of quillbarrow-export; a run stopped by a signal ends with 128 + its number.
enum ExitCode { allWritten = 0, someFailed = 1, unusable = 2 };

/// Where a run finds what lies outside its options.
struct RunSetting {
    /// The error output: failures, progress and the summary.
    std::ostream &errors;
    /// The error output is a terminal, where a progress line can be rewritten in place.
    bool terminal = false;
};

/// Exports every store the options name and returns the exit code. SIGINT, SIGTERM and SIGHUP
/// stop the run after the message being written (see files::StopSignals): it then ends as a
/// finished run does, with what it wrote whole, and returns 130, 143 or 129.
int RunExport(const ExportOptions &options, const RunSetting &setting);

/// The whole program over its arguments (argv[0] excluded): --help, --version, wrong arguments,
/// the run.
int RunProgram(const std::vector<std::string> &arguments, const RunSetting &setting,
               std::ostream &output);

} // namespace qb::cli
