#pragma once

#include "cli/message_output.h"
#include "files/appended_file.h"

#include <optional>

namespace qb::cli {

/// One mbox per mail folder, <folder>.mbox in the folder's parent, the messages in the store's
/// order, each as its .eml text (see MboxrdQuoting). A folder's mbox is written under a staged
/// name and handed to the placer when the run leaves the folder: it holds whole messages only,
/// since a message that cannot be written whole is cut off again and reported. With
/// --skip-existing an mbox an earlier run wrote is completed in place: as many messages as it
/// holds are skipped, and the rest added at its end, each whole or not at all.
class MboxOutput : public MessageOutput {
  public:
    explicit MboxOutput(OutputSetting setting) : setting_(setting) {}
    ~MboxOutput() override;
    void write(const FolderPath &folder, ExportedMessage &message) override;
    void storeDone() override { close(); }
    void finish() override { close(); }

  private:
    /// The mbox being written: a new one, staged, or an earlier one added to.
    struct Mbox {
        FolderPath path;
        std::shared_ptr<OutputFolder> folder;
        std::string stem;
        std::string name;
        std::optional<files::StagedFile> staged;
        std::optional<files::AppendedFile> appended;
        long long toSkip = 0;
        int messages = 0;
    };
    void open(const FolderPath &path);
    void append(ExportedMessage &message);
    void close();

    OutputSetting setting_;
    std::optional<Mbox> mbox_;
};

} // namespace qb::cli
