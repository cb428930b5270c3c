#include "app/start_files.h"

#include "export/file_utilities.h"
#include "text/plain_text.h"

namespace qb {
namespace {

enum class FileKind { OutlookData, Mailbox, Other };

FileKind KindOf(const std::string &path) {
    const std::string lower = LowerCase(path);
    if (lower.ends_with(".pst") || lower.ends_with(".ost"))
        return FileKind::OutlookData;
    return lower.ends_with(".dbx") ? FileKind::Mailbox : FileKind::Other;
}

/// Why the file cannot be opened at all, or the empty text.
std::string MissingFileProblem(FileSystem &files, const std::string &path) {
    if (files.isFolder(path))
        return path + " is a folder, not a file.";
    if (!exporting::FileExists(files, path))
        return "The file " + path + " was not found.";
    return std::string();
}

void SortFile(FileSystem &files, const std::string &path, StartFiles &start) {
    if (std::string problem = MissingFileProblem(files, path); !problem.empty()) {
        start.problems.push_back(std::move(problem));
        return;
    }
    switch (KindOf(path)) {
    case FileKind::OutlookData:
        if (start.pstFile)
            start.problems.push_back("The main window lists one PST file at a time: " + path +
                                     " is not opened.");
        else
            start.pstFile = path;
        return;
    case FileKind::Mailbox:
        start.mailboxes.push_back(path);
        return;
    case FileKind::Other:
        start.problems.push_back(path +
                                 " is neither an Outlook data file (.pst, .ost) nor an Outlook "
                                 "Express mailbox (.dbx).");
        return;
    }
}

} // namespace

StartAction StartActionOf(const std::vector<std::string> &arguments) {
    StartAction action = StartAction::OpenWindows;
    for (const std::string &argument : arguments) {
        if (argument == "--")
            break;
        if (argument == "--help" || argument == "-h")
            return StartAction::PrintHelp;
        if (argument == "--version" || argument == "-V")
            action = StartAction::PrintVersion;
    }
    return action;
}

std::string StartUsage() {
    return "Usage: quillbarrow [FILE...]\n"
           "Opens the window of Quillbarrow, which saves the mail of Outlook data files and\n"
           "Outlook Express mailboxes as plain text.\n"
           "\n"
           "  FILE.pst, FILE.ost  opens the main window with \"PST File:\" chosen and the file\n"
           "                      in its box; \"Get Emails From Outlook\" lists it\n"
           "  FILE.dbx...         opens the Outlook Express window with the mailboxes in its\n"
           "                      list, checked for \"Extract Emails From Outlook Express\"\n"
           "  -h, --help          prints this text and ends\n"
           "  -V, --version       prints the version of the three programs and ends\n"
           "\n"
           "quillbarrow-export does the same work without a window: see\n"
           "quillbarrow-export --help.\n";
}

StartFiles SortStartFiles(FileSystem &files, const std::vector<std::string> &arguments) {
    StartFiles start;
    bool optionsEnded = false;
    for (const std::string &argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.starts_with('-') && argument.size() > 1) {
            start.problems.push_back(
                argument + " is not an argument of Quillbarrow (see quillbarrow --help).");
        } else {
            SortFile(files, argument, start);
        }
    }
    return start;
}

} // namespace qb
