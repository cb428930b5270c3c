#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>

// What a run tells on the error output: its failures, its progress and its counts.
namespace qb::cli {

/// How much the run says besides its errors.
enum class Verbosity { Quiet, Summary, Progress };

/// Counts the stores and messages of a run and reports them. Failures are always written, one
/// line each; the progress line only to a terminal, where it is rewritten in place.
class RunReport {
  public:
    RunReport(std::ostream &out, Verbosity verbosity);

    /// One message written.
    void messageWritten();
    /// One message not written because an earlier run wrote it.
    void skipped();
    /// One store read to its end, whatever failed in it.
    void storeDone();
    /// Something that was not written: a message, a store or an input. where names the file,
    /// the folder path and the subject, as far as they are known.
    void failed(const std::string &where, const std::string &why);
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

    int messages() const { return messages_; }
    int skippedMessages() const { return skipped_; }
    int failures() const { return failures_; }

  private:
    void clearProgress();
    void showProgress(bool now);
    /// "1 204 messages written, 3 failed", with the skipped ones when there are any.
    std::string counts() const;

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
