#pragma once

#include "files/folder.h"
#include "files/staged_file.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

// A folder of the output and the names taken in it.
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

/// How the files of a folder are named.
enum class FileNaming {
    /// stem + ending, then stem + " (2)" + ending and so on: "Re  plan (2).txt".
    Numbered,
    /// Maildir names: a name is what comes before its ":2,<flags>" (a mail program changes the
    /// flags, not the message), and a copy is stem + "-2" and so on.
    Maildir,
};

/// A folder that files of the run get their names in: created when missing, and listed once,
/// when the run first comes to it: staged files that killed runs left behind are removed then,
/// and the other names are kept to number the run's files. The n-th file of a stem (and ending)
/// in the run takes the n-th name of the stem as far as earlier files leave it free, so naming
/// costs the same for every message however many share a stem. A name is never one this run gave
/// already, and never, unless earlier files are overwritten, one that exists, even if it appeared
/// a moment ago. Files are staged in the staging folder (the folder itself, or a Maildir's tmp/)
/// and placed into the folder. Names are asked for by the reading thread and files placed by the
/// placing one, so every member is safe to call from both.
class OutputFolder {
  public:
    /// Opens (making it when missing) and lists the folder; throws Failure when it cannot.
    OutputFolder(std::shared_ptr<files::Folder> folder, EarlierFiles earlier, FileNaming naming,
                 std::shared_ptr<files::Folder> staging = {});

    const std::string &path() const { return folder_->path(); }
    files::Folder &folder() { return *folder_; }
    EarlierFiles earlier() const { return earlier_; }

    /// A new staged file for a file of this folder; target names it in failures. Throws Failure.
    files::StagedFile stage(const std::string &target);

    /// The name the next file of the stem and ending gets, or nothing when it is to be skipped
    /// because an earlier run wrote it.
    std::optional<std::string> nameFor(const std::string &stem, const std::string &ending);

    /// Gives the finished staged file its name, with suffix after it (a Maildir's flags): the one
    /// nameFor gave, or, when another file took that name since the folder was listed, the next
    /// free name of the stem. False when the file is skipped instead (see EarlierFiles::Skip);
    /// throws Failure when it cannot.
    bool place(files::StagedFile &file, const std::string &stem, const std::string &ending,
               const std::string &name, const std::string &suffix = {});

    /// True when the name lies in the folder from before the run.
    bool existedBefore(const std::string &name);

  private:
    std::string numbered(const std::string &stem, const std::string &ending, int copy) const;
    std::string nextName(const std::string &stem, const std::string &ending);
    std::string keyOf(const std::string &name) const;
    bool isFolder(const std::string &name) const;

    std::shared_ptr<files::Folder> folder_;
    std::shared_ptr<files::Folder> staging_;
    EarlierFiles earlier_;
    FileNaming naming_;
    std::mutex mutex_;
    std::unordered_set<std::string> earlierNames_;
    std::unordered_set<std::string> given_;
    std::unordered_map<std::string, int> nextCopy_;
};

} // namespace qb::cli
