#pragma once

#include "mail/message.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qb {

class PffItemHandle;

/// One attachment of a message in an Outlook data file. Its names are 8-bit texts of the
/// message's code page when they are not Unicode; its data is read a piece at a time.
class PffAttachment : public mail::Attachment {
  public:
    PffAttachment(std::shared_ptr<PffItemHandle> attachment, int codepage);

    /// The kind the attachment method names; without one, the kind libpff sees.
    mail::AttachmentKind kind() override;
    std::optional<std::string> longFileName() override;
    std::optional<std::string> shortFileName() override;
    std::optional<std::string> displayName() override;
    std::optional<std::string> mimeType() override;
    std::optional<std::string> contentId() override;
    std::uint64_t size() override;
    std::unique_ptr<mail::ByteStream> openData() override;
    std::shared_ptr<mail::Message> embeddedMessage() override;

  private:
    std::optional<std::string> text(std::uint32_t propertyType);

    std::shared_ptr<PffItemHandle> attachment_;
    int codepage_;
};

} // namespace qb
