#pragma once

#include "cli/message_output.h"

#include <map>

namespace qb::cli {

/// One file per message: a text record (with its attachments beside it when asked for), the
/// message's .eml text, or a message file of a Maildir. Text and .eml files are named after the
/// message's time and subject; Maildir files by the Maildir convention (MaildirStem) with the
/// read flag. A file is written whole under a staged name and handed to the placer.
class MessageFiles : public MessageOutput {
  public:
    enum class Kind { Text, TextWithAttachments, Eml, Maildir };

    MessageFiles(Kind kind, OutputSetting setting);
    void write(const FolderPath &folder, ExportedMessage &message) override;

  private:
    void writeFile(const FolderPath &folder, ExportedMessage &message);

    Kind kind_;
    OutputSetting setting_;
    std::string host_;
    /// The messages each Maildir took so far, for their names.
    std::map<const OutputFolder *, long long> placed_;
};

} // namespace qb::cli
