#pragma once

#include "cli/message_output.h"
#include "cli/run_report.h"
#include "mail/mail_walk.h"

#include <functional>
#include <optional>
#include <string>

namespace qb::cli {

/// What every store of a run writes into, and which of its messages it takes.
struct ExportTarget {
    /// Takes the messages, in the store's order.
    MessageOutput &output;
    /// Hears what could not be read.
    RunReport &report;
    /// Only messages whose top-level or own folder has this name, when set.
    std::optional<std::string> folderName;
    /// Asked before each message; once it says yes, the store's reading ends after the current
    /// message. Empty means never.
    std::function<bool()> stopRequested = {};

    /// True when a message of those folders is taken.
    bool takes(const std::string &topFolder, const std::string &ownFolder) const {
        return mail::TakesFolder(folderName, topFolder, ownFolder);
    }
    bool stopped() const { return stopRequested && stopRequested(); }
};

} // namespace qb::cli
