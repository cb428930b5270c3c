#pragma once

#include <optional>
#include <string>
#include <vector>

// The command line of quillbarrow-export.
namespace qb::cli {

/// What one run is asked to do.
struct ExportOptions {
    /// Stores and folders to search for them, in the order given.
    std::vector<std::string> inputs;
    /// The output folder; created when missing.
    std::string outputFolder = ".";
    /// Every message into one AllEmails.txt instead of one file each.
    bool oneFile = false;
    /// Only messages whose top-level or own folder has this name (exact, case-sensitive).
    std::optional<std::string> folder;
    /// Folders named as inputs are searched in their subfolders too.
    bool recursive = false;
    /// Names taken by an earlier run are written again instead of getting the next number.
    bool overwrite = false;
    /// Nothing on the error output but the errors.
    bool quiet = false;
    bool help = false;
};

/// The options, or a description of what is wrong with the arguments (argv[0] excluded).
struct ParsedArguments {
    ExportOptions options;
    std::string error;
};

/// Reads the arguments. "--" ends the options; "--to" and "--folder" take the next argument or
/// the text after "="; without --help at least one input is needed.
ParsedArguments ParseArguments(const std::vector<std::string> &arguments);

/// The text of --help: every option, with examples.
const char *HelpText();

} // namespace qb::cli
