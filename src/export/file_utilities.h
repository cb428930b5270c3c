#pragma once

#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"

#include <cstdint>
#include <string>

// Small file and timing routines shared by the downloads and the windows.
namespace qb::exporting {

/// True when the file system can tell the path's modification time; never fails.
bool FileExists(FileSystem &files, const std::string &path);
/// True when the path names an existing folder; never fails.
bool FolderExists(FileSystem &files, const std::string &path);
/// The whole file; "empty file" for a zero-length file; the empty text for a missing file.
std::string ReadTextFile(FileSystem &files, const std::string &path);
/// ReadTextFile, or the message "File not found" and the empty text.
std::string ReadTextFileOrWarn(FileSystem &files, TitledMessageBoxes &messages,
                               const std::string &path);
/// Creates or replaces the file with the text.
void WriteTextFile(FileSystem &files, const std::string &text, const std::string &path);
/// Replaces the file when rowIndex is 1 or less, else appends to it.
void WriteOrAppendTextFile(FileSystem &files, const std::string &text, const std::string &path,
                           std::int32_t rowIndex);
/// Lets pending window events run, then deletes the file or pattern; on failure deletes by force.
/// Never fails, never reports.
void DeleteFileQuietly(FileSystem &files, EventPump &events, const std::string &path);
/// Deletes the file or pattern by force; failures reach the caller.
void ForceDeleteFile(FileSystem &files, const std::string &path);
/// Returns after the time has passed, letting window events run meanwhile.
void Pause(Clock &clock, EventPump &events, double seconds);

} // namespace qb::exporting
