#include "cli/export_options.h"

#include <algorithm>
#include <iterator>

namespace qb::cli {
namespace {

constexpr std::size_t helpWidth = 80;
/// The column where the options' help starts.
constexpr std::size_t helpColumn = 24;

constexpr const char *helpStart =
    R"(Usage: quillbarrow-export [OPTION]... FILE...

Saves every mail message of Outlook data files (.pst, .ost) and Outlook Express
mailboxes (.dbx) as plain text, the same text the Quillbarrow window writes, or
as files other mail programs open: .eml, mbox or Maildir.

FILE is a .pst, .ost or .dbx file, or a folder whose stores are all exported
(its subfolders too with --recursive). Files of other kinds, and anything that
is not a regular file (a named pipe, a device), are reported and skipped.

Options:
)";

constexpr const char *helpEnd = R"(
The output mirrors the mail: DIR/<store file>/<folder>/<subfolder>/..., where an
Outlook Express mailbox is one folder named after its file without ".dbx"
(DIR/Inbox/). Folder names keep their text; a "/" becomes "-", a NUL is left
out, "." and ".." become "_" and "__", and a name is cut to 255 bytes.

Formats:
  text     one file per message, the window's text (the default)
  eml      one file per message, the message itself (RFC 5322): Outlook Express
           messages byte for byte as stored, Outlook messages built with their
           headers, bodies and attachments
  mbox     one file per folder, <folder>.mbox beside the folder's own place,
           each message as its .eml text (mboxrd: ">From " quoting)
  maildir  one Maildir per folder (cur/, new/, tmp/); a message stored as read
           gets the S flag

Each text or .eml file is named after the message's own time and subject, as in
"03-03-2024 02 05 09 PM Re  Q1-Q2 plan.txt", so that every run gives the same
names; a message without a time is named as of "12-30-1899 12 00 00 AM". A NUL
byte in a message's text is written as U+FFFD, the replacement character, and
left out of file names. A message that is not readable as MIME is written with
its whole text as plain text. A part of a message that cannot be written (a
damaged attachment, a reference to a file elsewhere, an OLE object) is named
on the error output, and the rest of the message is written.

Every file is written whole under a hidden name and then renamed; an mbox
holds whole messages only. SIGINT (Ctrl-C), SIGTERM and SIGHUP stop the run
after the message being written: hidden files are removed, the files written
whole stay, and a rerun with --skip-existing adds what is missing. Hidden files
of runs that were killed are removed by the next run into the same folder.

Exit status: 0 when every message was written, 1 when some message, store or
file failed (each is named on the error output), 2 for wrong arguments or an
output folder that cannot be written; 130, 143 or 129 when SIGINT, SIGTERM or
SIGHUP stopped the run.

Examples:
  quillbarrow-export -o ~/mail-archive ~/old/backup.pst
  quillbarrow-export -f maildir -o ~/Mail/rescued old.pst Inbox.dbx
  quillbarrow-export -f text -a -o ~/mail-archive ~/old/backup.pst
  quillbarrow-export -r -o /srv/archive /srv/outlook-stores
  quillbarrow-export --skip-existing -r -o /srv/archive /srv/outlook-stores
  quillbarrow-export --one-file --folder Inbox -o out Inbox.dbx archive.pst
)";

std::string Set(bool &flag) {
    flag = true;
    return {};
}

constexpr OutputFormat formats[] = {OutputFormat::Text, OutputFormat::Eml, OutputFormat::Mbox,
                                    OutputFormat::Maildir};

std::string SetFormat(ExportOptions &options, const std::string &value) {
    const auto found =
        std::find_if(std::begin(formats), std::end(formats),
                     [&](OutputFormat format) { return value == FormatName(format); });
    if (found == std::end(formats))
        return "unknown format \"" + value + "\" (text, eml, mbox or maildir)";
    options.format = *found;
    return {};
}

constexpr OptionDeclaration options[] = {
    {"to", 'o', "DIR", "write into DIR (created when missing); default: the current folder",
     [](ExportOptions &o, const std::string &value) -> std::string {
         o.outputFolder = value;
         return value.empty() ? "the output folder of --to is empty" : "";
     }},
    {"format", 'f', "FORMAT",
     "write the messages as text (the default), eml, mbox or maildir; see Formats below",
     SetFormat},
    {"flat", 0, "",
     "write every file into DIR itself instead of a folder tree that mirrors the stores",
     [](ExportOptions &o, const std::string &) { return Set(o.flat); }},
    {"attachments", 'a', "",
     "with --format text: save each message's attachments in a folder beside its text file, "
     "named as the file without \".txt\" and with \" files\"; attached messages as .eml",
     [](ExportOptions &o, const std::string &) { return Set(o.attachments); }},
    {"one-file", 0, "",
     "write every message into DIR/AllEmails.txt, one after the other, instead of one file per "
     "message",
     [](ExportOptions &o, const std::string &) { return Set(o.oneFile); }},
    {"folder", 0, "NAME",
     "take only the messages whose top-level folder or own folder is NAME, exactly as written "
     "(letter case counts); for a .dbx file its name without \".dbx\" counts as the folder",
     [](ExportOptions &o, const std::string &value) -> std::string {
         o.folder = value;
         return {};
     }},
    {"recursive", 'r', "", "search folders given as FILE in their subfolders as well",
     [](ExportOptions &o, const std::string &) { return Set(o.recursive); }},
    {"overwrite", 0, "",
     "write over files left in DIR by an earlier run; without it such a name gets the next free "
     "number, as in \"Name (2).txt\"",
     [](ExportOptions &o, const std::string &) { return Set(o.overwrite); }},
    {"skip-existing", 0, "",
     "write only the messages whose file is not in DIR yet, as after a stopped run: a message "
     "whose name (with its number, which follows the order of the mailbox) is taken is skipped "
     "and counted as skipped",
     [](ExportOptions &o, const std::string &) { return Set(o.skipExisting); }},
    {"quiet", 'q', "", "print nothing but errors",
     [](ExportOptions &o, const std::string &) { return Set(o.quiet); }},
    {"help", 'h', "", "show this text",
     [](ExportOptions &o, const std::string &) { return Set(o.help); }},
    {"version", 'V', "", "show the version",
     [](ExportOptions &o, const std::string &) { return Set(o.version); }},
};

const OptionDeclaration *FindLong(std::string_view name) {
    const auto found =
        std::find_if(std::begin(options), std::end(options),
                     [&](const OptionDeclaration &option) { return option.longName == name; });
    return found == std::end(options) ? nullptr : &*found;
}

const OptionDeclaration *FindShort(char name) {
    const auto found =
        std::find_if(std::begin(options), std::end(options),
                     [&](const OptionDeclaration &option) { return option.shortName == name; });
    return found == std::end(options) ? nullptr : &*found;
}

/// Reads the command line one argument at a time.
class ArgumentReader {
  public:
    explicit ArgumentReader(const std::vector<std::string> &arguments) : arguments_(arguments) {}

    ParsedArguments read() {
        bool optionsEnded = false;
        for (index_ = 0; index_ < arguments_.size() && parsed_.error.empty(); ++index_) {
            const std::string &argument = arguments_[index_];
            if (optionsEnded || argument == "-" || !argument.starts_with('-'))
                parsed_.options.inputs.push_back(argument);
            else if (argument == "--")
                optionsEnded = true;
            else if (argument.starts_with("--"))
                readLong(argument);
            else
                readShort(argument);
        }
        return std::move(parsed_);
    }

  private:
    void readLong(const std::string &argument) {
        const std::size_t equals = argument.find('=');
        const std::string name =
            argument.substr(2, equals == std::string::npos ? equals : equals - 2);
        const OptionDeclaration *option = FindLong(name);
        if (!option)
            return fail("unknown option " + argument.substr(0, equals));
        if (option->valueName.empty() && equals != std::string::npos)
            return fail("option --" + name + " takes no value");
        if (option->valueName.empty() || equals != std::string::npos)
            return apply(*option, equals == std::string::npos ? "" : argument.substr(equals + 1));
        applyNextArgument(*option, "--" + name);
    }

    void readShort(const std::string &argument) {
        for (std::size_t letter = 1; letter < argument.size(); ++letter) {
            const OptionDeclaration *option = FindShort(argument[letter]);
            if (!option)
                return fail("unknown option -" + std::string(1, argument[letter]));
            if (option->valueName.empty()) {
                apply(*option, "");
                continue;
            }
            if (letter + 1 < argument.size())
                return apply(*option, argument.substr(letter + 1));
            return applyNextArgument(*option, "-" + std::string(1, argument[letter]));
        }
    }

    void applyNextArgument(const OptionDeclaration &option, const std::string &written) {
        if (index_ + 1 >= arguments_.size())
            return fail("option " + written + " needs a value");
        apply(option, arguments_[++index_]);
    }

    void apply(const OptionDeclaration &option, const std::string &value) {
        if (std::string error = option.apply(parsed_.options, value); !error.empty())
            fail(error);
    }

    void fail(const std::string &error) {
        if (parsed_.error.empty())
            parsed_.error = error;
    }

    const std::vector<std::string> &arguments_;
    std::size_t index_ = 0;
    ParsedArguments parsed_;
};

/// What the chosen options cannot do together, or nothing.
std::string Conflict(const ExportOptions &options) {
    if (options.overwrite && options.skipExisting)
        return "--overwrite and --skip-existing exclude each other";
    if (options.oneFile && options.skipExisting)
        return "--skip-existing works with one file per message, not with --one-file";
    if (options.oneFile && options.format != OutputFormat::Text)
        return "--one-file writes text only, not with --format " +
               std::string(FormatName(options.format));
    if (options.attachments && options.format != OutputFormat::Text)
        return "--attachments goes with --format text; the other formats keep the attachments "
               "in the messages";
    if (options.attachments && options.oneFile)
        return "--attachments needs one file per message, not --one-file";
    if (!options.help && !options.version && options.inputs.empty())
        return "no FILE given";
    return {};
}

/// The text as lines of at most width characters, each line after the first starting at column.
std::string Wrapped(std::string_view text, std::size_t column, std::size_t width) {
    std::string wrapped;
    std::size_t lineLength = column;
    while (!text.empty()) {
        // A quoted name ("Name (2).txt") stays on one line.
        const std::size_t quoteEnd = text.starts_with('"') ? text.find('"', 1) : 0;
        const std::size_t end = std::min(
            text.find(' ', quoteEnd == std::string_view::npos ? 0 : quoteEnd), text.size());
        const std::string_view word = text.substr(0, end);
        if (lineLength > column && lineLength + 1 + word.size() > width) {
            wrapped += "\n" + std::string(column, ' ');
            lineLength = column;
        } else if (lineLength > column) {
            wrapped += ' ';
            ++lineLength;
        }
        wrapped += word;
        lineLength += word.size();
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return wrapped;
}

} // namespace

const char *FormatName(OutputFormat format) {
    switch (format) {
    case OutputFormat::Text:
        return "text";
    case OutputFormat::Eml:
        return "eml";
    case OutputFormat::Mbox:
        return "mbox";
    case OutputFormat::Maildir:
        return "maildir";
    }
    return "text";
}

std::span<const OptionDeclaration> Options() {
    return options;
}

std::string OptionSynopsis(const OptionDeclaration &option) {
    std::string synopsis;
    if (option.shortName != 0)
        synopsis = std::string("-") + option.shortName + ", ";
    synopsis += "--" + std::string(option.longName);
    if (!option.valueName.empty())
        synopsis += " " + std::string(option.valueName);
    return synopsis;
}

ParsedArguments ParseArguments(const std::vector<std::string> &arguments) {
    ParsedArguments parsed = ArgumentReader(arguments).read();
    if (parsed.error.empty())
        parsed.error = Conflict(parsed.options);
    return parsed;
}

std::string HelpText() {
    std::string text = helpStart;
    for (const OptionDeclaration &option : options) {
        std::string line = "  " + OptionSynopsis(option);
        line += line.size() + 2 <= helpColumn ? std::string(helpColumn - line.size(), ' ')
                                              : "\n" + std::string(helpColumn, ' ');
        text += line + Wrapped(option.help, helpColumn, helpWidth) + "\n";
    }
    return text + helpEnd;
}

} // namespace qb::cli
