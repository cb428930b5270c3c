#pragma once

#include "cli/output_folder.h"
#include "cli/run_report.h"
#include "files/staged_file.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qb::cli {

/// A whole file written under its staged name, waiting for its name.
struct PendingFile {
    std::shared_ptr<OutputFolder> folder;
    files::StagedFile file;
    /// What OutputFolder::place takes: the stem and ending it numbers, the name nameFor gave,
    /// and what follows the name (a Maildir's flags).
    std::string stem;
    std::string ending;
    std::string name;
    std::string suffix;
    /// How a failure to place the file names it.
    std::string where;
    /// The messages the file holds: counted as written once it is placed (one message file),
    /// or counted already and withdrawn when it cannot be (an mbox, the combined file); 0 for a
    /// file that is part of a message (an attachment).
    int messages = 1;
    bool countedAlready = false;
};

/// Gives finished files their names, a batch at a time, on a thread of its own: one sync of the
/// output's file system makes a whole batch durable (a sync per file costs more than the rest of
/// the export), then each file is renamed into place, in the order it came. The reading thread
/// meanwhile writes the next batch. So a name never shows a file that is not whole and durable,
/// and memory holds no message text: only the files' names wait.
class Placer {
  public:
    /// sync is the folder whose file system is synced; both it and report must outlive this.
    Placer(files::Folder &sync, RunReport &report);
    /// Places what is left, as finish does.
    ~Placer();
    Placer(const Placer &) = delete;
    Placer &operator=(const Placer &) = delete;

    /// Takes a whole file; once a batch is full it goes to the placing thread, waiting while that
    /// thread still places the batch before.
    void add(PendingFile file);
    /// Places every file taken and makes the names durable; after it, no staged file is left.
    void finish();

  private:
    void handOver();
    void placeAll();
    void place(std::vector<PendingFile> &batch);
    void placeOne(PendingFile &pending);

    files::Folder &sync_;
    RunReport &report_;
    std::vector<PendingFile> filling_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<PendingFile> handed_;
    bool busy_ = false;
    bool ended_ = false;
    std::thread thread_;
};

} // namespace qb::cli
