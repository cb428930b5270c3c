#include "cli/dbx_store_export.h"

#include "cli/express_message.h"
#include "dbx/mailbox_reader.h"
#include "failure/caught_failure.h"

#include <filesystem>

namespace qb::cli {
namespace {

/// Gathers a message's text; a message is read whole before it is written.
class GatheredText : public dbx::TextSink {
  public:
    explicit GatheredText(std::uint64_t size) { text.reserve(size); }
    void append(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

/// Hands each message of the mailbox to the target and reports its damage.
class MailboxExport : public dbx::MessageVisitor {
  public:
    MailboxExport(const std::string &path, ExportTarget &target)
        : path_(path), folder_(MailboxFolderName(path)), place_(path + ": " + folder_),
          target_(target) {}

    dbx::AfterMessage message(std::uint64_t number, dbx::MessageText &text) override {
        const auto failure = CaughtFailure([&] {
            GatheredText gathered(text.size());
            text.copyTo(gathered);
            ExpressMessage message(std::move(gathered.text), number, place_);
            target_.output.write({folder_}, message);
        });
        if (failure)
            target_.report.failed(place_ + ": message " + std::to_string(number),
                                  failure->description());
        return target_.stopped() ? dbx::AfterMessage::stop : dbx::AfterMessage::readOn;
    }

    void damage(const dbx::Damage &damage) override {
        if (damage.loss == dbx::Loss::none)
            target_.report.warned(path_, damage.line);
        else
            target_.report.failed(path_, damage.line);
    }

  private:
    const std::string &path_;
    std::string folder_;
    std::string place_;
    ExportTarget &target_;
};

} // namespace

std::string MailboxFolderName(const std::string &path) {
    return std::filesystem::path(path).stem().string();
}

void ExportDbxStore(const std::string &path, ExportTarget &target) {
    if (!target.takes(MailboxFolderName(path), MailboxFolderName(path)))
        return;
    const auto failure = CaughtFailure([&] {
        MailboxExport visitor(path, target);
        const dbx::MailboxSummary summary = dbx::ReadMailbox(path, visitor);
        if (summary.kind == dbx::DatabaseKind::NotDbx)
            target.report.failed(path, dbx::DescribeKind(summary.kind));
    });
    if (failure)
        target.report.failed(path, failure->description());
}

} // namespace qb::cli
