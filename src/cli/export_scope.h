#pragma once

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
    /// True once the run is asked to stop: a store asks before each message and ends there.
    std::function<bool()> stopRequested = [] { return false; };

    /// True when a message of those folders is taken.
    bool takes(const std::string &topFolder, const std::string &ownFolder) const {
        return !folderName || *folderName == topFolder || *folderName == ownFolder;
    }
};

} // namespace qb::cli
