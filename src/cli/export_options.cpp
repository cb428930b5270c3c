#include "cli/export_options.h"

#include <string_view>

namespace qb::cli {
namespace {

constexpr const char *helpText =
    R"(Usage: quillbarrow-export [OPTION]... FILE...

Saves every mail message of Outlook data files (.pst, .ost) and Outlook Express
mailboxes (.dbx) as plain text, the same text the Quillbarrow window writes.

FILE is a .pst, .ost or .dbx file, or a folder whose stores are all exported
(its subfolders too with --recursive). Files of other kinds are reported and
skipped.

Options:
  --to DIR          write into DIR (created when missing); default: the current
                    folder
  --one-file        write every message into DIR/AllEmails.txt, one after the
                    other, instead of one file per message
  --folder NAME     take only the messages whose top-level folder or own folder
                    is NAME, exactly as written (letter case counts); for a .dbx
                    file its name without ".dbx" counts as the folder
  --recursive       search folders given as FILE in their subfolders as well
  --overwrite       write over files left in DIR by an earlier run; without it
                    such a name gets the next free number, as in "Name (2).txt"
  --quiet           print nothing but errors
  --help            show this text

Each message file is named after the message's own time and subject, as in
"03-03-2024 02 05 09 PM Re  Q1-Q2 plan.txt", so that every run gives the same
names; a message without a time is named as of "12-30-1899 12 00 00 AM".

Exit status: 0 when every message was written, 1 when some message, store or
file failed (each is named on the error output), 2 for wrong arguments or an
output folder that cannot be written.

Examples:
  quillbarrow-export --to ~/mail-archive ~/old/backup.pst
  quillbarrow-export --recursive --to /srv/archive /srv/outlook-stores
  quillbarrow-export --one-file --folder Inbox --to out Inbox.dbx archive.pst
)";

/// The value of an option that takes one: the text after "=", else the next argument.
bool TakeValue(const std::vector<std::string> &arguments, std::size_t &index, std::string_view name,
               std::string &value, std::string &error) {
    const std::string &argument = arguments[index];
    if (argument.size() > name.size() && argument[name.size()] == '=') {
        value = argument.substr(name.size() + 1);
        return true;
    }
    if (index + 1 >= arguments.size()) {
        error = "option " + std::string(name) + " needs a value";
        return false;
    }
    value = arguments[++index];
    return true;
}

bool IsOption(const std::string &argument, std::string_view name) {
    return argument.starts_with(name) &&
           (argument.size() == name.size() || argument[name.size()] == '=');
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string> &arguments) {
    ParsedArguments parsed;
    ExportOptions &options = parsed.options;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size() && parsed.error.empty(); ++index) {
        const std::string &argument = arguments[index];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            options.inputs.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--one-file") {
            options.oneFile = true;
        } else if (argument == "--recursive") {
            options.recursive = true;
        } else if (argument == "--overwrite") {
            options.overwrite = true;
        } else if (argument == "--quiet") {
            options.quiet = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (IsOption(argument, "--to")) {
            if (TakeValue(arguments, index, "--to", options.outputFolder, parsed.error) &&
                options.outputFolder.empty())
                parsed.error = "the output folder of --to is empty";
        } else if (IsOption(argument, "--folder")) {
            std::string name;
            if (TakeValue(arguments, index, "--folder", name, parsed.error))
                options.folder = name;
        } else {
            parsed.error = "unknown option " + argument;
        }
    }
    if (parsed.error.empty() && !options.help && options.inputs.empty())
        parsed.error = "no FILE given";
    return parsed;
}

const char *HelpText() {
    return helpText;
}

} // namespace qb::cli
