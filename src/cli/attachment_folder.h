#pragma once

#include "cli/exported_message.h"
#include "cli/message_output.h"

#include <memory>
#include <string>

namespace qb::cli {

/// The folder beside a text file that takes its message's attachments, made when the first
/// attachment comes. Each file is named after the attachment, made safe, and numbered when an
/// earlier one of the message took the name ("photo (2).jpg"); it is staged and written whole,
/// then handed to the placer before the text file, so a message's text never stands without
/// its attachments. What cannot be saved is reported, named by the message and the attachment.
class AttachmentFolder : public AttachmentSaver {
  public:
    AttachmentFolder(OutputSetting setting, std::shared_ptr<OutputFolder> parent, std::string name,
                     std::string where)
        : setting_(setting), parent_(std::move(parent)), name_(std::move(name)),
          where_(std::move(where)) {}

    void save(const std::string &name, const std::function<void(ByteSink &)> &write) override;
    void notSaved(const std::string &part, const std::string &why) override;

  private:
    OutputSetting setting_;
    std::shared_ptr<OutputFolder> parent_;
    std::string name_;
    std::string where_;
    std::shared_ptr<OutputFolder> folder_;
};

} // namespace qb::cli
