#pragma once

#include "mail/message.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qb {

class PffItemHandle;

/// One message of an Outlook data file (or a message embedded in one) as the mail model reads
/// it. Every part is read from the file when asked for; failures name the file and the message.
/// 8-bit texts are read in the message's code page, else its internet code page, else the
/// file's; the bodies in the internet code page first.
class PffMessage : public mail::Message {
  public:
    explicit PffMessage(std::shared_ptr<PffItemHandle> message);

    std::string storeName() override;
    std::vector<std::string> folderPath() override;
    /// Throws Failure for an embedded message, which no EntryID can find again.
    std::string entryId() override;
    std::string messageClass() override;
    std::optional<bool> isRead() override;
    std::optional<mail::Instant> deliveryTime() override;
    std::optional<mail::Instant> submitTime() override;
    std::optional<mail::Instant> creationTime() override;
    std::string senderName() override;
    std::string senderAddress() override;
    std::string senderAddressType() override;
    std::optional<std::string> senderSmtpAddress() override;
    std::vector<mail::Recipient> recipients() override;
    std::string displayTo() override;
    std::string displayCc() override;
    std::string subject() override;
    std::optional<std::string> plainBody() override;
    std::optional<mail::HtmlBody> htmlBody() override;
    std::optional<std::string> rtfBody() override;
    int attachmentCount() override;
    std::unique_ptr<mail::Attachment> attachment(int index) override;
    std::optional<std::string> transportHeaders() override;
    std::optional<std::string> messageId() override;
    std::optional<std::string> inReplyTo() override;
    std::optional<std::string> references() override;

  private:
    std::optional<std::string> optionalText(std::uint32_t propertyType);
    std::string text(std::uint32_t propertyType);
    std::optional<mail::Instant> time(std::uint32_t propertyType);
    int stringCodepage();
    int bodyCodepage();

    std::shared_ptr<PffItemHandle> message_;
    std::optional<int> stringCodepage_;
    std::optional<int> bodyCodepage_;
};

/// Drops the prefix marker Outlook stores before some subjects: a 0x01 and a length character.
std::string WithoutSubjectMarker(std::string subject);

} // namespace qb
