#include "cli/combined_text.h"

#include "export/output_names.h"
#include "failure/caught_failure.h"

namespace qb::cli {
namespace {

/// The name AllEmails.txt split into the stem and ending the folder numbers.
constexpr std::string_view combinedEnding = ".txt";

std::string CombinedStem() {
    const std::string name = exporting::combinedFileName;
    return name.substr(0, name.size() - combinedEnding.size());
}

} // namespace

CombinedText::CombinedText(OutputSetting setting)
    : setting_(setting), file_(setting.tree.root()->stage(setting.tree.rootPath() + "/" +
                                                          exporting::combinedFileName)) {}

void CombinedText::write(const FolderPath &, ExportedMessage &message) {
    if (const auto failure = CaughtFailure([&] { file_->write(message.text()); })) {
        setting_.report.failed(message.where(), failure->description());
        return;
    }
    ++texts_;
    setting_.report.messageWritten();
}

void CombinedText::finish() {
    if (!file_)
        return;
    files::StagedFile file = std::move(*file_);
    file_.reset();
    const std::string stem = CombinedStem();
    const std::string ending(combinedEnding);
    const auto root = setting_.tree.root();
    const std::string where = file.target();
    const auto failure = CaughtFailure([&] {
        file.finish(files::Durability::Unsynced);
        const std::string name = root->nameFor(stem, ending).value_or(exporting::combinedFileName);
        setting_.placer.add({root, std::move(file), stem, ending, name, "", where, texts_, true});
    });
    if (failure)
        setting_.report.withdrawn(texts_, where, failure->description());
}

} // namespace qb::cli
