#pragma once

#include "mail/mail_walk.h"

#include <functional>
#include <optional>
#include <string>

namespace qb::cli {

/// Where a store's reading hands on what it found, in the store's order: the text of each
/// message, and what could not be read.
class StoreOutput {
  public:
    virtual ~StoreOutput() = default;
    /// A message's text, the stem of its file name, and how a failure to write it names it.
    virtual void message(std::string text, std::string stem, std::string where) = 0;
    /// Something that was not read: where names the file, the folder path and the subject,
    /// as far as they are known.
    virtual void failed(std::string where, std::string why) = 0;
};

/// What every store of a run writes into, and which of its messages it takes.
struct ExportTarget {
    StoreOutput &output;
    /// Only messages whose top-level or own folder has this name, when set.
    std::optional<std::string> folderName;
    /// Asked before each message; once it says yes, the store's reading ends after the current
    /// message. Empty means never.
    std::function<bool()> stopRequested = {};

    /// True when a message of those folders is taken.
    bool takes(const std::string &topFolder, const std::string &ownFolder) const {
        return mail::TakesFolder(folderName, topFolder, ownFolder);
    }
};

} // namespace qb::cli
