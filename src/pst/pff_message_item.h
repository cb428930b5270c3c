#pragma once

#include "platform/outlook_api.h"

#include <memory>
#include <string>

namespace qb {

class PffMessage;

/// A message of an Outlook data file as an item of the object model: each property is the
/// message model's part of that name, read when asked for (the body only by Body and SaveAs),
/// and SaveAs writes the text rendering both front ends share.
class PffMessageItem : public outlook::Item {
  public:
    explicit PffMessageItem(std::shared_ptr<PffMessage> message);

    int Class() override;
    int attachmentCount() override;
    std::string SenderEmailAddress() override;
    std::string SenderEmailType() override;
    std::string SenderName() override;
    LocalDateTime ReceivedTime() override;
    std::string Body() override;
    std::string Subject() override;
    std::string EntryID() override;
    /// Writes the text whole or not at all. Throws Failure for a save type other than olTXT.
    void SaveAs(const std::string &path, int saveType) override;
    std::string SavedText(int saveType) override;
    std::shared_ptr<mail::Message> message() override;

  private:
    std::shared_ptr<PffMessage> message_;
};

} // namespace qb
