#pragma once

#include "cli/export_options.h"

#include <ostream>
#include <string>

namespace qb::cli {

/// Exit codes of quillbarrow-export.
enum ExitCode { allWritten = 0, someFailed = 1, unusable = 2 };

/// Where a run finds what lies outside its options.
struct RunSetting {
    /// The converter of Outlook Express mailboxes.
    std::string converterPath;
    /// The error output: failures, progress and the summary.
    std::ostream &errors;
    /// The error output is a terminal, where a progress line can be rewritten in place.
    bool terminal = false;
};

/// Exports every store the options name and returns the exit code.
ExitCode RunExport(const ExportOptions &options, const RunSetting &setting);

/// The whole program over its arguments (argv[0] excluded): --help, wrong arguments, the run.
ExitCode RunProgram(const std::vector<std::string> &arguments, const RunSetting &setting,
                    std::ostream &output);

} // namespace qb::cli
