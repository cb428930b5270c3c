#pragma once

#include "cli/exported_message.h"

#include <cstdint>
#include <string>

namespace qb::cli {

/// An Outlook Express message, read whole from its mailbox: its own bytes are its .eml text,
/// and its record, name and time come from its header lines as the Outlook Express window reads
/// them. Whether it was read is not known, so it counts as not read.
class ExpressMessage : public ExportedMessage {
  public:
    /// place names the mailbox and folder in reports: "Inbox.dbx: Inbox".
    ExpressMessage(std::string bytes, std::uint64_t number, const std::string &place);

    std::string where() override;
    std::string stem() override;
    std::string text() override;
    void writeEml(ByteSink &out, std::vector<PartProblem> &problems) override;
    std::optional<std::chrono::sys_seconds> time() override;
    std::string senderAddress() override;
    bool isRead() override { return false; }
    void saveAttachments(AttachmentSaver &saver) override;

  private:
    std::string bytes_;
    std::string place_;
    std::uint64_t number_;
    std::string subject_;
};

} // namespace qb::cli
