#pragma once

#include "failure/guard.h"
#include "platform/controls/list_view.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"

#include <cstdint>
#include <string>
#include <vector>

// Adding DBX files by hand to the DBX file list of the Outlook Express window.
namespace qb::express {

/// Error number of the file dialog when the chosen names overflow its name buffer.
inline constexpr std::int32_t nameBufferTooSmall = 20476;

/// What "Add Outlook Express File" asks the open dialog for: several .dbx files at once, from
/// startFolder (home when empty).
FileDialogRequest AddFileRequest(const std::string &startFolder);

/// The paths in a multi-select dialog's answer: one part is a full path, taken as it is; several
/// parts are a folder and the names in it, each joined to the folder by JoinChosenPath.
std::vector<std::string> ChosenPaths(const std::string &answer);

/// folder + "/" + name with doubled separators collapsed in one left-to-right pass over
/// non-overlapping pairs, so a root folder gives "/name". A folder that begins with "//" (a
/// network path) keeps exactly two separators in front.
std::string JoinChosenPath(const std::string &folder, const std::string &name);

/// "Add Outlook Express File": asks for .dbx files, from startFolder, and appends one unchecked row
/// per chosen file to ListView1. Guarded as "Form2.PushButton1_Click" without line numbers; when
/// the names overflow the dialog's buffer, a hint takes the place of the report and nothing is
/// added.
void addMailboxFiles(FileDialogs &fileDialogs, TitledMessageBoxes &messages,
                     FailureReporter &reporter, ListView &ListView1,
                     const std::string &startFolder);

} // namespace qb::express
