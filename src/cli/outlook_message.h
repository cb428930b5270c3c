#pragma once

#include "cli/exported_message.h"
#include "mail/message.h"

#include <string>

namespace qb::cli {

/// A message of an Outlook data file, read from the store part by part: its record is the window's
/// text, its .eml text is built from the store's properties (mime::WriteEml) with its attachments
/// streamed from the store.
class OutlookMessage : public ExportedMessage {
  public:
    /// where names the message in reports.
    OutlookMessage(mail::Message &message, std::string where)
        : message_(message), where_(std::move(where)) {}

    std::string where() override { return where_; }
    std::string stem() override;
    std::string text() override;
    void writeEml(ByteSink &out, std::vector<PartProblem> &problems) override;
    std::optional<std::chrono::sys_seconds> time() override;
    std::string senderAddress() override;
    bool isRead() override;
    void saveAttachments(AttachmentSaver &saver) override;

  private:
    void saveAttachment(AttachmentSaver &saver, mail::Attachment &attachment,
                        const std::string &name);

    mail::Message &message_;
    std::string where_;
};

/// The .eml text of a message of a store (mime::WriteEml), streamed into out; the parts left out
/// are added to problems.
void WriteStoreMessage(mail::Message &message, ByteSink &out, std::vector<PartProblem> &problems);

} // namespace qb::cli
