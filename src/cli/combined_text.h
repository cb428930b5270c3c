#pragma once

#include "cli/message_output.h"

#include <optional>

namespace qb::cli {

/// Every message's text record, one after the other with nothing between, into one staged file
/// in DIR that is named AllEmails.txt (or the next free number) only when the run is over, so
/// that a run that stops half-way leaves no partial file under that name. A text that cannot be
/// written whole (a full disk) is cut off again and counted as failed, so the file only ever
/// holds whole texts; when the file cannot be made durable or named, none of its texts counts as
/// written.
class CombinedText : public MessageOutput {
  public:
    /// Throws Failure when the staged file cannot be made.
    explicit CombinedText(OutputSetting setting);
    void write(const FolderPath &folder, ExportedMessage &message) override;
    void finish() override;

  private:
    OutputSetting setting_;
    std::optional<files::StagedFile> file_;
    int texts_ = 0;
};

} // namespace qb::cli
