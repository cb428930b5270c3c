#pragma once

#include <string>
#include <unordered_set>

// The output folder of a run and the names taken in it.
namespace qb::cli {

/// What a name that already lies in the folder from before the run gets.
enum class EarlierFiles { KeepAndNumber, Overwrite };

/// The output folder: created when missing, checked to be writable, and the one place where
/// files of the run get their names. A file is first written whole under a staging name of this
/// run and then renamed to its name; a name is never one this run used already, and never, unless
/// earlier files are overwritten, one that exists, even if it appeared a moment ago.
class OutputFolder {
  public:
    /// Creates the folder when missing and proves it writable; throws Failure when it is not.
    OutputFolder(std::string path, EarlierFiles earlier);

    const std::string &path() const { return path_; }

    /// A new hidden path in the folder, for a file that is still being written.
    std::string stagingPath();

    /// Writes the text whole into a new staging file and returns its path. The file is not yet
    /// synced: sync does that for every staged file at once. Throws Failure when it cannot.
    std::string stage(const std::string &text);

    /// Makes every file written in the folder so far durable; throws Failure when it cannot.
    void sync();

    /// Gives the staged file the first free name of the stem (stem.txt, stem (2).txt, ...) and
    /// returns that name; throws Failure when it cannot.
    std::string place(const std::string &staged, const std::string &stem);

  private:
    /// True when the staged file now bears the name; false when the name is taken.
    bool renameTo(const std::string &staged, const std::string &name);

    std::string path_;
    EarlierFiles earlier_;
    std::unordered_set<std::string> taken_;
    unsigned stagedCount_ = 0;
};

} // namespace qb::cli
