#pragma once

#include "files/folder.h"
#include "files/staged_file.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

// The output folder of a run and the names taken in it.
namespace qb::cli {

/// What a name that already lies in the folder from before the run gets.
enum class EarlierFiles {
    /// The file stays; the message takes the next free number of its stem.
    KeepAndNumber,
    /// The message's file replaces it.
    Overwrite,
    /// The file stays and the message is skipped: it was written by an earlier run.
    Skip,
};

/// The output folder: created when missing, checked to be writable, and the one place where
/// files of the run get their names. The folder is listed once, when the run starts: staged files
/// that killed runs left behind are removed then, and the other names are kept to number the
/// run's files. The n-th message of a stem in the run takes the n-th name of the stem
/// ("stem.txt", "stem (2).txt", ...) as far as earlier files leave it free, so naming costs the
/// same for every message however many share a stem. A name is never one this run gave already,
/// and never, unless earlier files are overwritten, one that exists, even if it appeared a moment
/// ago.
class OutputFolder {
  public:
    /// Creates the folder when missing, proves it writable and lists it; throws Failure when it
    /// cannot.
    OutputFolder(std::string path, EarlierFiles earlier);

    const std::string &path() const { return path_; }
    files::Folder &folder() { return *folder_; }

    /// The name the next message of the stem gets, or nothing when it is to be skipped because
    /// an earlier run wrote it.
    std::optional<std::string> nameFor(const std::string &stem);

    /// Gives the finished staged file its name: the one nameFor gave, or, when another file took
    /// that name since the folder was listed, the next free name of the stem. False when the
    /// message is skipped instead (see EarlierFiles::Skip); throws Failure when it cannot.
    bool place(files::StagedFile &file, const std::string &stem, const std::string &name);

  private:
    /// The next name of the stem that this run has not given and, unless earlier files are
    /// overwritten or skipped, that was free when the folder was listed.
    std::string nextName(const std::string &stem);
    bool isFolder(const std::string &name) const;

    std::string path_;
    EarlierFiles earlier_;
    std::optional<files::Folder> folder_;
    std::unordered_set<std::string> earlierNames_;
    std::unordered_set<std::string> given_;
    std::unordered_map<std::string, int> nextCopy_;
};

} // namespace qb::cli
