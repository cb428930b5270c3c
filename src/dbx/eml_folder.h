#pragma once

#include "files/folder.h"
#include "files/staged_file.h"

#include <optional>
#include <string>
#include <string_view>

namespace qb::dbx {

/// The folder that receives the converted messages, one file at a time, through the durable
/// writer: a file is written under a hidden staged name nobody can guess and takes its final
/// name only when whole, and it never replaces a file that is already there: it takes the next
/// free name instead. The files are work files, read at once and deleted later, so they are not
/// synced.
class EmlFolder {
  public:
    /// Opens the folder and removes the staged files that killed processes left in it; throws
    /// Failure when it is missing or cannot be opened or listed.
    explicit EmlFolder(const std::string &path);
    /// Drops a file still being written.
    ~EmlFolder() = default;
    EmlFolder(const EmlFolder &) = delete;
    EmlFolder &operator=(const EmlFolder &) = delete;

    /// Starts a new, empty file under a staged name. Throws Failure.
    void begin();
    /// Appends to the file begun last. Throws Failure.
    void write(std::string_view bytes);
    /// Gives the file begun last the first free name of stem + ".eml", stem + "-2.eml",
    /// stem + "-3.eml" and so on, and returns that name. Throws Failure.
    std::string keep(const std::string &stem);
    /// Drops the file begun last; never fails.
    void discard();

  private:
    files::Folder folder_;
    std::optional<files::StagedFile> file_;
};

} // namespace qb::dbx
