#include "express/eml_extraction.h"

#include "export/file_utilities.h"
#include "express/eml_messages.h"
#include "express/run_and_wait.h"
#include "failure/guard.h"
#include "platform/controls/long_action.h"
#include "platform/controls/status_text.h"

#include <algorithm>
#include <set>

namespace qb::express {
namespace {

/// Window style of a program started without a window of its own.
constexpr int hiddenWindow = 0;

} // namespace

std::string GetShortFileName(FileSystem &files, const std::string &path) {
    return files.hostPath(path);
}

std::string QuotedArgument(const std::string &text) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : text) {
        if (c == '\\') {
            ++backslashes;
        } else {
            // Backslashes count as escapes only before a quote.
            if (c == '"')
                quoted.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(backslashes, '\\');
    return quoted + "\"";
}

std::string ConverterCommandLine(FileSystem &files, const std::string &converterPath,
                                 const std::string &dbxPath, const std::string &workFolder) {
    return QuotedArgument(GetShortFileName(files, converterPath)) + " " +
           QuotedArgument(GetShortFileName(files, dbxPath)) + " " + QuotedArgument(workFolder);
}

int CheckedRowCount(const ListView &list, int rows) {
    int checked = 0;
    for (int row = 1; row <= std::min(rows, list.rowCount()); ++row)
        checked += list.checked(row) ? 1 : 0;
    return checked;
}

ExtractionProgress::ExtractionProgress(WindowModel &window, int mailboxes)
    : action_(window), mailboxes_(mailboxes) {}

void ExtractionProgress::startMailbox(const std::string &path) {
    ++started_;
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    action_.showStatus("Converting " + name + " (" + GroupedNumber(started_) + " of " +
                       GroupedNumber(std::max(mailboxes_, started_)) + ")");
}

void ExtractionProgress::finish(int messages) {
    if (stopRequested())
        action_.showStatus("Stopped after " + GroupedNumber(started_) + " of " +
                           CountOf(std::max(mailboxes_, started_), "mailbox file") + ", " +
                           CountOf(messages, "message") + " listed");
    else
        action_.showStatus("Listed " + CountOf(messages, "message") + " from " +
                           CountOf(started_, "mailbox file"));
}

void extractMessages(const ExtractionFacilities &facilities, const ExtractionControls &controls,
                     std::vector<std::string> &EmlFileNames) {
    Guard guard(facilities.reporter, "Form2", "PushButton2_Click");
    const std::string &workFolder = facilities.workFolder;
    std::string converter;
    guard.step(100, [&] { converter = facilities.programFolder + "/Splinterbox"; });
    guard.step(102, [&] { controls.window.setPointer(MousePointer::Busy); });
    // Names of the work files that no later reading takes: what the delete left, which is no
    // message of this run, and then the files of each conversion once they are listed.
    std::set<std::string> taken;
    guard.step(104, [&] {
        facilities.files.createFolders(workFolder);
        exporting::DeleteFileQuietly(facilities.files, facilities.events, workFolder + "/*.eml");
        NewEmlFiles(facilities.files, workFolder, taken);
    });
    guard.step(106, [&] { EmlFileNames.clear(); });
    guard.step(108, [&] { controls.ListView2.clear(); });
    int rows = 0;
    guard.step(110, [&] { rows = controls.ListView1.rowCount(); });
    ExtractionProgress progress(controls.window, CheckedRowCount(controls.ListView1, rows));
    // A stop comes between two mailboxes: the one being converted is listed whole.
    for (int row = 1; row <= rows && !progress.stopRequested(); ++row) {
        guard.step(112, [&] { facilities.events.processEvents(); });
        if (!guard.test(114, [&] { return controls.ListView1.checked(row); }))
            continue;
        progress.startMailbox(std::string(controls.ListView1.text(row)));
        // What the converter answers is not used: a file it cannot convert adds no messages.
        guard.step(116, [&] {
            const std::string commandLine = ConverterCommandLine(
                facilities.files, converter, std::string(controls.ListView1.text(row)), workFolder);
            RunAndWait(facilities.programs, facilities.events, facilities.clock, commandLine,
                       hiddenWindow);
        });
        // Only the files this conversion added are read, so every message is listed once, in
        // the order of its mailbox; a file that cannot be read is reported and the rest listed.
        std::vector<std::string> added;
        guard.step(118, [&] { added = NewEmlFiles(facilities.files, workFolder, taken); });
        for (const std::string &name : added)
            guard.step(118, [&] {
                ListEmlMessage(facilities.files, workFolder, name, controls.ListView2,
                               EmlFileNames);
            });
    }
    guard.step(120, [&] { controls.window.setPointer(MousePointer::Default); });
    progress.finish(controls.ListView2.rowCount());
    guard.step(122, [&] { facilities.messages.show("Done."); });
}

} // namespace qb::express
