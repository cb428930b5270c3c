#pragma once

#include "platform/outlook_api.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qb {

class PffItemHandle;

/// One message of an Outlook data file as an Outlook item. Every property is read from the file
/// when asked for; the body only by Body and SaveAs. Failures name the file and the item.
class PffMessage : public outlook::Item {
  public:
    explicit PffMessage(std::shared_ptr<PffItemHandle> message);

    int Class() override;
    int attachmentCount() override;
    std::string SenderEmailAddress() override;
    std::string SenderEmailType() override;
    std::string SenderName() override;
    LocalDateTime ReceivedTime() override;
    std::string Body() override;
    std::string Subject() override;
    std::string EntryID() override;
    void SaveAs(const std::string &path, int saveType) override;
    std::string SavedText(int saveType) override;

  private:
    std::string text(std::uint32_t propertyType);
    std::string bodyText(std::uint32_t propertyType);
    int stringCodepage();
    int bodyCodepage();
    std::optional<std::uint64_t> firstTime(std::initializer_list<std::uint32_t> propertyTypes);
    std::string smtpSenderAddress();
    std::string sentText();
    std::vector<std::string> attachmentNames();

    std::shared_ptr<PffItemHandle> message_;
    std::optional<int> stringCodepage_;
    std::optional<int> bodyCodepage_;
};

/// Drops the prefix marker Outlook stores before some subjects: a 0x01 and a length character.
std::string WithoutSubjectMarker(std::string subject);

} // namespace qb
