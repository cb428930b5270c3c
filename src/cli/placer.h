#pragma once

#include "cli/output_folder.h"
#include "cli/run_report.h"
#include "failure/failure.h"
#include "files/staged_file.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qb::cli {

/// A whole file waiting for its name: written under its staged name, or, when it has none yet,
/// its bytes, which the placing thread writes into a staged file of the folder first.
struct PendingFile {
    std::shared_ptr<OutputFolder> folder;
    std::optional<files::StagedFile> file;
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
    /// The bytes of a file not yet written, and the path its failures name.
    std::string bytes{};
    std::string target{};
};

/// Gives finished files their names on a thread of its own, while the reading thread reads on.
/// Files come in a queue, and the placing thread writes each file whose bytes were made in memory
/// (a text record) as it comes, so creating files overlaps the reading. Then a batch at a time:
/// one sync of the output's file system makes the whole batch durable (a sync per file costs more
/// than the rest of the export), and each file is renamed into place, in the order it came. A name
/// never shows a file that is not whole and durable. What waits is bounded: the queue holds at
/// most queueBytes of unwritten bytes (or one larger file) and a batch's worth of files.
class Placer {
  public:
    /// sync is the folder whose file system is synced; both it and report must outlive this.
    Placer(files::Folder &sync, RunReport &report);
    /// Places what is left, as finish does.
    ~Placer();
    Placer(const Placer &) = delete;
    Placer &operator=(const Placer &) = delete;

    /// Takes a whole file, or the bytes of one; waits while the queue is full.
    void add(PendingFile file);
    /// Places every file taken and makes the names durable; after it, no staged file is left.
    void finish();

  private:
    void placeAll();
    std::optional<PendingFile> next();
    void place(std::vector<PendingFile> &batch);
    void writeOut(PendingFile &pending);
    /// Reports the failure, if any, that kept the file from its name.
    void unplaced(const PendingFile &pending, const std::optional<Failure> &failure);
    void placeOne(PendingFile &pending);

    files::Folder &sync_;
    RunReport &report_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<PendingFile> queue_;
    std::size_t queuedBytes_ = 0;
    bool ended_ = false;
    std::thread thread_;
};

} // namespace qb::cli
