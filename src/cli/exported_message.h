#pragma once

#include "cli/byte_sink.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// One message as every output format sees it, whichever store it comes from.
namespace qb::cli {

/// A part of a message that could not be written, and why.
struct PartProblem {
    std::string part;
    std::string why;
};

/// Where the attachments of a message are saved, one file each (--attachments).
class AttachmentSaver {
  public:
    virtual ~AttachmentSaver() = default;
    /// Saves one attachment as a file named after name (made safe, numbered when taken), whose
    /// bytes write hands to the sink it is given. Failures are reported, not thrown.
    virtual void save(const std::string &name, const std::function<void(ByteSink &)> &write) = 0;
    /// An attachment that is not saved, and why.
    virtual void notSaved(const std::string &part, const std::string &why) = 0;
};

/// One message being exported. Each part is read when asked for; what cannot be read throws
/// Failure.
class ExportedMessage {
  public:
    virtual ~ExportedMessage() = default;
    /// How reports name the message: the store file, the folder and the message.
    virtual std::string where() = 0;
    /// The name of its text or .eml file without the ending: its time and subject (MessageStem).
    virtual std::string stem() = 0;
    /// The windows' plain-text record of it.
    virtual std::string text() = 0;
    /// The message as RFC 5322 text with CR LF line ends; what of it cannot be written is left
    /// out and added to problems.
    virtual void writeEml(ByteSink &out, std::vector<PartProblem> &problems) = 0;
    /// When it was sent (else received); nothing when it tells no time.
    virtual std::optional<std::chrono::sys_seconds> time() = 0;
    /// The sender's internet address, empty when it has none.
    virtual std::string senderAddress() = 0;
    /// True when it is stored as read.
    virtual bool isRead() = 0;
    /// Hands each attachment to saver.
    virtual void saveAttachments(AttachmentSaver &saver) = 0;
};

} // namespace qb::cli
