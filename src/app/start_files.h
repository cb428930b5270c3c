#pragma once

#include "platform/file_system.h"

#include <optional>
#include <string>
#include <vector>

// The command line of the window program: quillbarrow [FILE...], --help, --version.
namespace qb {

/// What the command line asks of the program before any window is made.
enum class StartAction { OpenWindows, PrintHelp, PrintVersion };

/// --help (-h) or --version (-V) anywhere before "--" asks for that text instead of the windows;
/// help comes first when both are given.
StartAction StartActionOf(const std::vector<std::string> &arguments);

/// The text of --help: the arguments and what each one opens, in lines of at most 80 characters.
std::string StartUsage();

/// The files of the command line, sorted by the window that opens them.
struct StartFiles {
    /// The Outlook data file (.pst or .ost) that the main window lists from "PST File:".
    std::optional<std::string> pstFile;
    /// The Outlook Express mailboxes (.dbx) for the Outlook Express window, in their order.
    std::vector<std::string> mailboxes;
    /// One line for each argument left out, saying why.
    std::vector<std::string> problems;
};

/// Sorts the arguments (the options of the toolkit already taken out) by the letter-case-blind
/// ending of each file: the first .pst or .ost file, and every .dbx file. Left out, each with a
/// line in problems: a file that is not there or is a folder, a file of another kind, a .pst or
/// .ost file after the first (the main window lists one file at a time), and an option the
/// program does not know. "--" ends the options. Never fails.
StartFiles SortStartFiles(FileSystem &files, const std::vector<std::string> &arguments);

} // namespace qb
