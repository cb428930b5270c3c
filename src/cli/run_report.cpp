#include "cli/run_report.h"

#include <cstdio>

namespace qb::cli {
namespace {

constexpr const char *programName = "quillbarrow-export";
/// The progress line is redrawn at most this often: a terminal is slower than the export.
constexpr std::chrono::milliseconds progressInterval{200};

std::string Counted(long long count, const char *one, const char *many) {
    return GroupedCount(count) + " " + (count == 1 ? one : many);
}

} // namespace

std::string GroupedCount(long long count) {
    const std::string digits = std::to_string(count < 0 ? -count : count);
    std::string grouped = count < 0 ? "-" : "";
    for (std::size_t index = 0; index < digits.size(); ++index) {
        if (index > 0 && (digits.size() - index) % 3 == 0)
            grouped += ' ';
        grouped += digits[index];
    }
    return grouped;
}

RunReport::RunReport(std::ostream &out, Verbosity verbosity)
    : out_(out), verbosity_(verbosity), started_(std::chrono::steady_clock::now()),
      lastShown_(started_) {}

void RunReport::messageWritten(int count) {
    const std::lock_guard lock(mutex_);
    messages_ += count;
    showProgress(false);
}

void RunReport::skipped(int count) {
    const std::lock_guard lock(mutex_);
    skipped_ += count;
}

void RunReport::storeDone() {
    const std::lock_guard lock(mutex_);
    ++stores_;
    showProgress(true);
}

void RunReport::failed(const std::string &where, const std::string &why) {
    const std::lock_guard lock(mutex_);
    ++failures_;
    line(where, why);
}

void RunReport::warned(const std::string &where, const std::string &why) {
    const std::lock_guard lock(mutex_);
    line(where, why);
}

void RunReport::line(const std::string &where, const std::string &why) {
    clearProgress();
    out_ << programName << ": " << where << ": " << why << "\n";
    out_.flush();
}

int RunReport::messages() const {
    const std::lock_guard lock(mutex_);
    return messages_;
}

int RunReport::skippedMessages() const {
    const std::lock_guard lock(mutex_);
    return skipped_;
}

int RunReport::failures() const {
    const std::lock_guard lock(mutex_);
    return failures_;
}

void RunReport::withdrawn(int messages, const std::string &where, const std::string &why) {
    const std::lock_guard lock(mutex_);
    messages_ -= messages;
    failures_ += messages;
    clearProgress();
    out_ << programName << ": " << where << ": " << why << " ("
         << Counted(messages, "message", "messages") << " not written)\n";
    out_.flush();
}

void RunReport::fatal(const std::string &why) {
    const std::lock_guard lock(mutex_);
    clearProgress();
    out_ << programName << ": " << why << "\n";
}

void RunReport::summary() {
    const std::lock_guard lock(mutex_);
    clearProgress();
    if (verbosity_ == Verbosity::Quiet)
        return;
    out_ << Counted(stores_, "store", "stores") << ", " << counts() << "\n";
}

void RunReport::stopped(const std::string &signalName, std::size_t stores) {
    const std::lock_guard lock(mutex_);
    clearProgress();
    out_ << "stopped by " << signalName << " after " << GroupedCount(stores_) << " of "
         << Counted(static_cast<long long>(stores), "store", "stores") << ", " << counts() << "\n";
}

std::string RunReport::counts() const {
    std::string text = Counted(messages_, "message", "messages") + " written, ";
    if (skipped_ > 0)
        text += GroupedCount(skipped_) + " skipped, ";
    return text + GroupedCount(failures_) + " failed";
}

void RunReport::clearProgress() {
    if (!progressShown_)
        return;
    out_ << "\r\033[K";
    progressShown_ = false;
}

void RunReport::showProgress(bool now) {
    if (verbosity_ != Verbosity::Progress)
        return;
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - lastShown_ < progressInterval)
        return;
    lastShown_ = time;
    const double seconds = std::chrono::duration<double>(time - started_).count();
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.0f", seconds > 0 ? messages_ / seconds : 0.0);
    out_ << "\r\033[K" << Counted(stores_, "store", "stores") << " done, "
         << Counted(messages_, "message", "messages") << " written, " << rate << " messages/s";
    out_.flush();
    progressShown_ = true;
}

} // namespace qb::cli
