#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>

// What a run tells on the error output: its failures, its progress and its counts.
namespace qb::cli {

/// How much the run says besides its errors.
enum class Verbosity { Quiet, Summary, Progress };

/// Counts the stores and messages of a run and reports them. Failures are always written, one
/// line each; the progress line only to a terminal, where it is rewritten in place. Safe to use
/// from the reading and the placing thread at once.
class RunReport {
  public:
    RunReport(std::ostream &out, Verbosity verbosity);

    /// Messages written (one, or those of an mbox placed at once).
    void messageWritten(int count = 1);
    /// Messages not written because an earlier run wrote them.
    void skipped(int count = 1);
    /// One store read to its end, whatever failed in it.
    void storeDone();
    /// Something that was not written: a message, a store or an input. where names the file,
    /// the folder path and the subject, as far as they are known.
    void failed(const std::string &where, const std::string &why);
    /// Something odd that cost nothing, as damage a mailbox's reader went round: said on one
    /// line like a failure, but not counted.
    void warned(const std::string &where, const std::string &why);
    /// Messages counted as written that were lost after all, as when the combined file that
    /// held them cannot be kept: they count as failed instead, and where tells why on one line.
    void withdrawn(int messages, const std::string &where, const std::string &why);
    /// A problem that keeps the run from starting; not counted.
    void fatal(const std::string &why);
    /// The last line: "2 stores, 1 204 messages written, 3 failed", with "5 skipped" before the
    /// failures when messages were skipped.
    void summary();
    /// The last line of a run that a signal stopped, said also when quiet, since it explains
    /// the exit status: "stopped by SIGINT after 1 of 3 stores, 1 204 messages written, 0
    /// failed".
    void stopped(const std::string &signalName, std::size_t stores);

    int messages() const;
    int skippedMessages() const;
    int failures() const;

  private:
    void line(const std::string &where, const std::string &why);
    void clearProgress();
    void showProgress(bool now);
    /// "1 204 messages written, 3 failed", with the skipped ones when there are any.
    std::string counts() const;

    mutable std::mutex mutex_;
    std::ostream &out_;
    Verbosity verbosity_;
    int stores_ = 0;
    int messages_ = 0;
    int skipped_ = 0;
    int failures_ = 0;
    bool progressShown_ = false;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastShown_;
};

/// A count with a blank between groups of three digits: 1204 gives "1 204".
std::string GroupedCount(long long count);

} // namespace qb::cli
