#include "cli/message_output.h"

#include "cli/combined_text.h"
#include "cli/mbox_output.h"
#include "cli/message_files.h"

namespace qb::cli {

std::unique_ptr<MessageOutput> MakeOutput(const ExportOptions &options, OutputSetting setting) {
    switch (options.format) {
    case OutputFormat::Text:
        if (options.oneFile)
            return std::make_unique<CombinedText>(setting);
        return std::make_unique<MessageFiles>(options.attachments
                                                  ? MessageFiles::Kind::TextWithAttachments
                                                  : MessageFiles::Kind::Text,
                                              setting);
    case OutputFormat::Eml:
        return std::make_unique<MessageFiles>(MessageFiles::Kind::Eml, setting);
    case OutputFormat::Maildir:
        return std::make_unique<MessageFiles>(MessageFiles::Kind::Maildir, setting);
    case OutputFormat::Mbox:
        return std::make_unique<MboxOutput>(setting);
    }
    return nullptr;
}

} // namespace qb::cli
