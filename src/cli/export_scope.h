#pragma once

#include "cli/message_sink.h"
#include "cli/run_report.h"

#include <optional>
#include <string>

namespace qb::cli {

/// What every store of a run writes into, and which of its messages it takes.
struct ExportTarget {
    MessageSink &sink;
    RunReport &report;
    /// Only messages whose top-level or own folder has this name, when set.
    std::optional<std::string> folderName;

    /// True when a message of those folders is taken.
    bool takes(const std::string &topFolder, const std::string &ownFolder) const {
        return !folderName || *folderName == topFolder || *folderName == ownFolder;
    }
};

} // namespace qb::cli
