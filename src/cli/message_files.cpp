#include "cli/message_files.h"

#include "cli/attachment_folder.h"
#include "cli/maildir_names.h"
#include "failure/caught_failure.h"

namespace qb::cli {

MessageFiles::MessageFiles(Kind kind, OutputSetting setting)
    : kind_(kind), setting_(setting), host_(kind == Kind::Maildir ? MaildirHost() : "") {}

void MessageFiles::write(const FolderPath &folder, ExportedMessage &message) {
    if (const auto failure = CaughtFailure([&] { writeFile(folder, message); }))
        setting_.report.failed(message.where(), failure->description());
}

void MessageFiles::writeFile(const FolderPath &folderPath, ExportedMessage &message) {
    const bool maildir = kind_ == Kind::Maildir;
    const auto folder =
        maildir ? setting_.tree.maildir(folderPath) : setting_.tree.filesFolder(folderPath);
    const std::string ending = maildir ? "" : kind_ == Kind::Eml ? ".eml" : ".txt";
    const std::string stem =
        maildir ? MaildirStem(message.time(), ++placed_[folder.get()], host_) : message.stem();
    const auto name = folder->nameFor(stem, ending);
    if (!name) {
        setting_.report.skipped();
        return;
    }
    const std::string suffix = maildir ? MaildirInfo(message.isRead()) : "";
    const std::string target = folder->path() + "/" + *name + suffix;
    const std::string where = message.where();
    PendingFile pending{folder, std::nullopt, stem, ending, *name, suffix, where, 1};
    if (kind_ == Kind::Text || kind_ == Kind::TextWithAttachments) {
        // The record is made here; the placing thread creates and writes its file.
        pending.bytes = message.text();
        pending.target = target;
    } else {
        files::StagedFile file = folder->stage(target);
        std::vector<PartProblem> problems;
        StagedFileSink sink(file);
        message.writeEml(sink, problems);
        sink.flush();
        file.finish(files::Durability::Unsynced);
        ReportProblems(setting_.report, where, problems);
        pending.file.emplace(std::move(file));
    }
    if (kind_ == Kind::TextWithAttachments) {
        // The folder takes the name the text file is given, without its ".txt".
        AttachmentFolder attachments(setting_, folder, name->substr(0, name->size() - 4) + " files",
                                     where);
        message.saveAttachments(attachments);
    }
    setting_.placer.add(std::move(pending));
}

void ReportProblems(RunReport &report, const std::string &where,
                    const std::vector<PartProblem> &problems) {
    for (const PartProblem &problem : problems)
        report.failed(where + ": " + problem.part, problem.why);
}

} // namespace qb::cli
