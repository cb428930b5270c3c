#include "export/file_utilities.h"

namespace qb::exporting {

bool FileExists(FileSystem &files, const std::string &path) {
    try {
        files.modificationTime(path);
        return true;
    } catch (...) {
        return false;
    }
}

bool FolderExists(FileSystem &files, const std::string &path) {
    return files.isFolder(path);
}

std::string ReadTextFile(FileSystem &files, const std::string &path) {
    if (!FileExists(files, path))
        return std::string();
    // Callers that gather texts want to see that a file was there, even when it held nothing.
    if (files.fileSize(path) == 0)
        return "empty file";
    return files.readAll(path);
}

std::string ReadTextFileOrWarn(FileSystem &files, TitledMessageBoxes &messages,
                               const std::string &path) {
    if (FileExists(files, path))
        return ReadTextFile(files, path);
    messages.show("File not found");
    return std::string();
}

void WriteTextFile(FileSystem &files, const std::string &text, const std::string &path) {
    files.write(path, text);
}

void WriteOrAppendTextFile(FileSystem &files, const std::string &text, const std::string &path,
                           std::int32_t rowIndex) {
    if (rowIndex <= 1)
        files.write(path, text);
    else
        files.append(path, text);
}

void DeleteFileQuietly(FileSystem &files, EventPump &events, const std::string &path) {
    // Callers use this to clear the way before writing or to tidy up afterwards; a file that is
    // already gone, or cannot go, must never interrupt them.
    try {
        events.processEvents();
    } catch (...) {
    }
    try {
        files.remove(path);
    } catch (...) {
        try {
            ForceDeleteFile(files, path);
        } catch (...) {
        }
    }
}

void ForceDeleteFile(FileSystem &files, const std::string &path) {
    files.forceRemove(path);
}

void Pause(Clock &clock, EventPump &events, double seconds) {
    const double start = clock.secondsSinceMidnight();
    for (;;) {
        const double elapsed = SecondsBetween(start, clock.secondsSinceMidnight());
        if (elapsed >= seconds)
            return;
        // Waiting for events instead of polling keeps the window responsive without burning
        // the processor for the whole pause.
        events.waitForEvents(seconds - elapsed);
    }
}

} // namespace qb::exporting
