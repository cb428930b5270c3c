#pragma once

#include "cli/byte_sink.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// The mbox format as mboxrd writes it: messages one after the other, each after a "From " line.
namespace qb::cli {

/// The line that starts a message: "From ", the sender's address (MAILER-DAEMON when there is
/// none), a blank and the time in the form of asctime, in UTC ("Tue Jul  1 10:52:37 2003"; the
/// start of 1970 for a message without one), and LF.
std::string MboxSeparator(const std::string &sender, std::optional<std::chrono::sys_seconds> time);

/// Passes a message's text on as an mbox holds it: CR LF line ends become LF, and a line that
/// starts with "From " after any number of ">" gets one ">" more, so that no line of a message
/// is taken for the start of the next and a reader can take the ">" off again. Lines may be cut
/// anywhere between the writes.
class MboxrdQuoting : public ByteSink {
  public:
    explicit MboxrdQuoting(ByteSink &out) : out_(out) {}
    void write(std::string_view bytes) override;
    /// Ends the message: what waits is passed on, then LF when the text did not end with one, and
    /// the empty line that parts it from the next message.
    void finish();

  private:
    void put(char c);
    void decide(bool lineEnded);

    ByteSink &out_;
    std::string text_;
    /// The start of a line not known yet to be a "From " line or not.
    std::string undecided_;
    bool lineStart_ = true;
    bool carriageReturn_ = false;
    char last_ = '\n';
};

/// The messages an mbox file holds: its lines that start with "From ". Throws Failure when the
/// file cannot be read.
long long CountMboxMessages(int folderDescriptor, const std::string &name,
                            const std::string &target);

} // namespace qb::cli
