#include "export/express_download.h"

#include "export/download_progress.h"
#include "export/file_utilities.h"
#include "export/output_names.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace qb::exporting {
namespace {

/// The run-time's failure for an index past the end of a collection.
constexpr std::int32_t subscriptOutOfRange = 9;

/// One run of "Start Downloading" over the list as it is when the run starts. Every step runs
/// under the caller's guard; a failing step is reported and the run goes on.
class ExpressDownloadRun {
  public:
    ExpressDownloadRun(const ExpressDownloadFacilities &facilities,
                       const ExpressDownloadControls &controls,
                       const std::vector<std::string> &emlFileNames, const std::string &workFolder,
                       Guard &guard)
        : facilities_(facilities), controls_(controls), emlFileNames_(emlFileNames),
          workFolder_(workFolder), guard_(guard) {}

    void run() {
        int rows = 0;
        guard_.run([&] { rows = controls_.ListView2.rowCount(); });
        if (rows > 0) {
            if (controls_.Option1.value()) {
                // As in the main window, the message about the folder is the run's last word.
                if (!chooseFolder())
                    return;
                writeSeparateFiles(rows);
            } else if (controls_.Option2.value()) {
                writeOneFile(rows);
            }
        }
        guard_.run([&] { controls_.window.setPointer(MousePointer::Default); });
        guard_.run([&] { facilities_.messages.show("Done."); });
    }

  private:
    /// Takes the folder of Text3 for the single files; false, after telling the user, when
    /// there is no such folder. An empty box would put the files in the root folder, and into a
    /// missing folder every write would fail: either way nothing is written.
    bool chooseFolder() {
        folder_ = controls_.Text3.text();
        if (!FolderExists(facilities_.files, folder_)) {
            guard_.run([&] {
                facilities_.messages.show("Folder does not exist. Please select another folder.");
            });
            return false;
        }
        // Names are appended to the folder as they are; without its final "/" the files would
        // land beside the folder under run-on names.
        if (!folder_.ends_with('/'))
            folder_ += '/';
        return true;
    }

    void writeSeparateFiles(int rows) {
        writeCheckedRecords(rows, folder_,
                            [&](int row, const std::string &record, std::int32_t runningNumber) {
                                const std::string subject(controls_.ListView2.subItem(row, 2));
                                WriteTextFile(facilities_.files, record,
                                              folder_ + ExpressFileName(subject, runningNumber));
                            });
    }

    void writeOneFile(int rows) {
        std::string combinedPath;
        guard_.run([&] {
            combinedPath =
                AskForCombinedFile(facilities_.fileDialogs, facilities_.files, facilities_.events,
                                   facilities_.messages, controls_.Text3.text());
        });
        if (combinedPath.empty())
            return;
        std::int32_t written = 0;
        writeCheckedRecords(rows, combinedPath, [&](int, const std::string &record, std::int32_t) {
            // The first record replaces whatever the dialog's delete may have left.
            WriteOrAppendTextFile(facilities_.files, record, combinedPath, written + 1);
            ++written;
        });
    }

    /// Calls write(row, record, runningNumber) under the guard for every checked row whose
    /// record can be made, row 1 first, until a stop. The running number counts every checked
    /// row, those whose message could not be read included. The status line counts the rows
    /// and at the end names the destination.
    template <typename Write>
    void writeCheckedRecords(int rows, const std::string &destination, Write write) {
        DownloadProgress progress(controls_.window, facilities_.clock,
                                  CheckedRows(controls_.ListView2, rows));
        // Wide enough that numbers never repeat within a run, however long the list.
        std::int32_t runningNumber = 0;
        for (int row = 1; row <= rows && !progress.stopRequested(); ++row) {
            if (!takeRow(row))
                continue;
            ++runningNumber;
            progress.startMessage(runningNumber);
            bool written = false;
            if (const std::optional<std::string> record = recordOf(row))
                guard_.run([&] {
                    write(row, *record, runningNumber);
                    written = true;
                });
            if (written)
                progress.messageSaved();
            // Stop is read between two messages: the file just written is whole.
            facilities_.events.processEvents();
        }
        progress.finish(runningNumber, destination);
    }

    static int CheckedRows(const ListView &list, int rows) {
        int checked = 0;
        for (int row = 1; row <= std::min(rows, list.rowCount()); ++row)
            checked += list.checked(row) ? 1 : 0;
        return checked;
    }

    /// True when the row is checked; shows the hourglass for it.
    bool takeRow(int row) {
        bool checked = false;
        guard_.run([&] { checked = controls_.ListView2.checked(row); });
        if (checked)
            guard_.run([&] { controls_.window.setPointer(MousePointer::Busy); });
        return checked;
    }

    /// The row's record, or nothing when its message cannot be read: writing the listed headers
    /// over some other message's body would be worse than leaving the row out.
    std::optional<std::string> recordOf(int row) {
        std::optional<std::string> record;
        guard_.run([&] {
            record = ExpressRecordOfRow(facilities_.mime, controls_.ListView2, row, emlPathOf(row));
        });
        return record;
    }

    std::string emlPathOf(int row) const {
        const auto index = static_cast<std::size_t>(row - 1);
        if (index >= emlFileNames_.size())
            throw Failure(subscriptOutOfRange, programSource, "Subscript out of range");
        return workFolder_ + "/" + emlFileNames_[index];
    }

    const ExpressDownloadFacilities &facilities_;
    const ExpressDownloadControls &controls_;
    const std::vector<std::string> &emlFileNames_;
    const std::string &workFolder_;
    Guard &guard_;
    std::string folder_; // of the single files, with its final "/"
};

} // namespace

std::string ExpressRecordOfRow(MimeReader &mime, const ListView &list, int row,
                               const std::string &emlPath) {
    const std::string body = mime.textBody(emlPath);
    const ExpressRecordFields fields{std::string(list.text(row)), std::string(list.subItem(row, 1)),
                                     std::string(list.subItem(row, 2)),
                                     std::string(list.subItem(row, 3))};
    return ExpressRecord(fields, body);
}

std::string AskForCombinedFile(FileDialogs &fileDialogs, FileSystem &files, EventPump &events,
                               TitledMessageBoxes &messages, const std::string &startFolder) {
    FileDialogRequest request;
    request.initialFolder = startFolder;
    request.title = "Save List";
    request.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|";
    const std::string fileName = fileDialogs.save(request);
    if (fileName.empty())
        return std::string();
    if (FileExists(files, fileName) &&
        messages.show("Are you sure you wish to overwrite " + fileName + " ?",
                      MessageButtons::YesNo) != MessageAnswer::Yes)
        return std::string();
    // The run appends its records, so nothing of an earlier file may stay in front of them.
    DeleteFileQuietly(files, events, fileName);
    return fileName;
}

void saveCheckedMessages(const ExpressDownloadFacilities &facilities,
                         const ExpressDownloadControls &controls,
                         const std::vector<std::string> &EmlFileNames,
                         const std::string &workFolder) {
    // Failure reports name the procedure by the window's name for "Start Downloading".
    Guard guard(facilities.reporter, "Form2", "PushButton7_Click");
    ExpressDownloadRun(facilities, controls, EmlFileNames, workFolder, guard).run();
}

} // namespace qb::exporting
