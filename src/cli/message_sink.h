#pragma once

#include "cli/output_folder.h"
#include "cli/run_report.h"
#include "files/staged_file.h"

#include <memory>
#include <string>
#include <vector>

// Where the texts of the messages go: one file each, or all into one combined file.
namespace qb::cli {

/// Takes the text of each message of a run, in the run's order, and counts it in the report
/// once it is written (or as failed, named by `where`, when it cannot be, or as skipped).
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void add(const std::string &text, const std::string &stem,
                     const std::string &where) = 0;
    /// Ends the run, also one that was stopped: every text taken whole is on the disk under its
    /// name, and no staged file is left.
    virtual void finish() = 0;
};

/// One file per message, named after its stem. Files are written under staged names and made
/// durable in batches, with one sync of the file system for many files (a sync per file costs
/// more than the rest of the export), before they are renamed: a name never shows a partial file.
/// Staged files not yet renamed are removed when the sink goes.
class SeparateFiles : public MessageSink {
  public:
    SeparateFiles(OutputFolder &folder, RunReport &report) : folder_(folder), report_(report) {}
    void add(const std::string &text, const std::string &stem, const std::string &where) override;
    void finish() override;

  private:
    struct Staged {
        files::StagedFile file;
        std::string name;
        std::string stem;
        std::string where;
    };
    void placeStaged();

    OutputFolder &folder_;
    RunReport &report_;
    std::vector<Staged> staged_;
};

/// Every text, one after the other with nothing between, into one staged file that is named
/// AllEmails.txt (or the next free number) only when the run is over, so that a run that stops
/// half-way leaves no partial file under that name. A text that cannot be written whole (a full
/// disk) is cut off again and counted as failed, so the file only ever holds whole texts; when
/// the file cannot be made durable or named, none of its texts counts as written.
class CombinedFile : public MessageSink {
  public:
    /// Throws Failure when the staged file cannot be made.
    CombinedFile(OutputFolder &folder, RunReport &report);
    void add(const std::string &text, const std::string &stem, const std::string &where) override;
    void finish() override;

  private:
    OutputFolder &folder_;
    RunReport &report_;
    files::StagedFile file_;
    int texts_ = 0;
};

/// The sink for the run's choice; throws Failure when the combined file cannot be started.
std::unique_ptr<MessageSink> MakeSink(OutputFolder &folder, RunReport &report, bool oneFile);

} // namespace qb::cli
