#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The command line of quillbarrow-export.
namespace qb::cli {

/// What the messages are written as.
enum class OutputFormat {
    /// The windows' plain-text records, one .txt file per message.
    Text,
    /// One RFC 5322 message per .eml file.
    Eml,
    /// One mbox file per folder (mboxrd).
    Mbox,
    /// One Maildir per folder.
    Maildir,
};

/// The name --format takes for a format: "text", "eml", "mbox", "maildir".
const char *FormatName(OutputFormat format);

/// What one run is asked to do.
struct ExportOptions {
    /// Stores and folders to search for them, in the order given.
    std::vector<std::string> inputs;
    /// The output folder; created when missing.
    std::string outputFolder = ".";
    OutputFormat format = OutputFormat::Text;
    /// Every file into the output folder itself instead of a tree that mirrors the stores.
    bool flat = false;
    /// With the text format: each message's attachments saved in a folder beside its text.
    bool attachments = false;
    /// Every message into one AllEmails.txt instead of one file each.
    bool oneFile = false;
    /// Only messages whose top-level or own folder has this name (exact, case-sensitive).
    std::optional<std::string> folder;
    /// Folders named as inputs are searched in their subfolders too.
    bool recursive = false;
    /// Names taken by an earlier run are written again instead of getting the next number.
    bool overwrite = false;
    /// Messages whose name is taken already are not written again.
    bool skipExisting = false;
    /// Nothing on the error output but the errors.
    bool quiet = false;
    bool help = false;
    bool version = false;
};

/// One option of the command line, declared once: the parser, --help and (through a test) the
/// manual page all read it from here.
struct OptionDeclaration {
    /// The long name without its dashes: "to".
    std::string_view longName;
    /// The one-letter form, or 0 when there is none.
    char shortName;
    /// The name of the option's value ("DIR"), empty for an option that takes none.
    std::string_view valueName;
    /// What the option does, one paragraph; --help wraps it.
    std::string_view help;
    /// Takes the option (and its value) into the options; returns what is wrong, or nothing.
    std::string (*apply)(ExportOptions &options, const std::string &value);
};

/// Every option, in the order --help lists them.
std::span<const OptionDeclaration> Options();

/// The option as --help and the manual page show it: "-o, --to DIR", "--one-file".
std::string OptionSynopsis(const OptionDeclaration &option);

/// The options, or a description of what is wrong with the arguments (argv[0] excluded).
struct ParsedArguments {
    ExportOptions options;
    std::string error;
};

/// Reads the arguments. "--" ends the options; a long option with a value takes the next
/// argument or the text after "="; one-letter options may be run together ("-qr"), and the last
/// of them may take its value from the rest of the argument ("-oDIR") or the next one. Without
/// --help or --version at least one input is needed.
ParsedArguments ParseArguments(const std::vector<std::string> &arguments);

/// The text of --help: every option, with examples.
std::string HelpText();

} // namespace qb::cli
