#include "export/download_run.h"

#include "export/file_utilities.h"
#include "export/output_names.h"
#include "failure/required_object.h"
#include "text/plain_text.h"

namespace qb::exporting {

DownloadRun::DownloadRun(const DownloadFacilities &facilities, DownloadControls controls,
                         Guard &guard)
    : facilities_(facilities), controls_(controls), guard_(guard) {}

void DownloadRun::run() {
    if (!chooseFolder() || !chooseFilter())
        return;
    DownloadProgress progress(controls_.window, facilities_.clock, rowsToTake());
    progress_ = &progress;
    guard_.step(132, [&] { controls_.window.setPointer(MousePointer::Busy); });
    guard_.step(134, [&] { facilities_.clock.sleep(1000); });
    openOutlook();
    downloadRows();
    closeOutlook();
    // The closing box follows the status line's last word on the run.
    progress.finish(handledCount_, combinedWrites_ > 0 ? folder_ + combinedFileName : folder_);
    announce();
    progress_ = nullptr;
}

int DownloadRun::rowsToTake() const {
    if (selection_ == Selection::Nothing)
        return 0;
    int rows = 0;
    for (int row = 1; row <= controls_.ListView1.rowCount(); ++row)
        rows += RowIsTaken(controls_.ListView1, row, selection_, filter_) ? 1 : 0;
    return rows;
}

bool DownloadRun::chooseFolder() {
    if (guard_.test(100,
                    [&] { return !FolderExists(facilities_.files, controls_.Text3.text()); })) {
        guard_.step(358, [&] {
            facilities_.messages.show("Folder does not exist. Please select another folder.");
        });
        return false;
    }
    guard_.step(102, [&] {
        folder_ = controls_.Text3.text();
        // The folder is a plain prefix of every name; a folder typed without its final "/"
        // would otherwise send the files into its parent under run-on names.
        if (!folder_.ends_with('/'))
            folder_ += '/';
    });
    return true;
}

bool DownloadRun::chooseFilter() {
    std::string choice;
    guard_.step(106, [&] { choice = controls_.Combo1.text(); });
    selection_ = SelectionFor(choice);
    lines_ = &LinesFor(selection_);
    for (int index = 0; index < static_cast<int>(standardFolderChoices.size()); ++index) {
        const char *folder = standardFolderChoices[static_cast<std::size_t>(index)];
        if (guard_.test(108 + 4 * index, [&] { return choice == folder; })) {
            guard_.step(110 + 4 * index, [&] { filter_ = folder; });
            return true;
        }
    }
    if (choice != "User-specified Folder")
        return true;
    guard_.step(128, [&] {
        filter_ = facilities_.inputBoxes.ask("Enter folder name: ", "Input Folder Name", "Inbox");
    });
    return !guard_.test(130, [&] { return Trimmed(filter_).empty(); });
}

void DownloadRun::openOutlook() {
    guard_.step(136, [&] { application_ = facilities_.mailStores.createApplication(); });
    guard_.step(138, [&] { namespace_ = Required(application_).GetNamespace("MAPI"); });
}

void DownloadRun::downloadRows() {
    const RowLines &lines = *lines_;
    int row = 1;
    // The row count is read on every pass: events run during the pauses may change the list. A
    // stop comes between two messages, so every file written stays whole.
    while (!progress_->stopRequested() &&
           guard_.test(lines.loopTest, [&] { return row <= controls_.ListView1.rowCount(); })) {
        const bool taken = lines.rowTest == 0 || guard_.test(lines.rowTest, [&] {
            return RowIsTaken(controls_.ListView1, row, selection_, filter_);
        });
        if (taken && selection_ != Selection::Nothing)
            downloadRow(row);
        guard_.step(lines.nextRow, [&] { ++row; });
    }
}

void DownloadRun::downloadRow(int row) {
    const RowLines &lines = *lines_;
    progress_->startMessage(takenCount_ + 1);
    takeRow();
    if (fetchItem(row)) {
        guard_.step(lines.pause, [&] { Pause(facilities_.clock, facilities_.events, 0.5); });
        // A stop pressed while the pause let events run comes before anything of this message
        // is written.
        if (progress_->stopRequested())
            return;
        saveFetchedItem();
    }
    ++handledCount_;
}

void DownloadRun::saveFetchedItem() {
    nameFile();
    // A save that failed left no file, so there is nothing to gather.
    if (!saveItem())
        return;
    // The mode is read for every message: switching it during a run takes effect at once.
    if (guard_.test(lines_->oneFileTest, [&] { return controls_.Option2.value(); }))
        gatherIntoCombinedFile();
}

void DownloadRun::takeRow() {
    const RowLines &lines = *lines_;
    const auto sleep = [&] { guard_.step(lines.sleep, [&] { facilities_.clock.sleep(1000); }); };
    const auto count = [&] { guard_.step(lines.count, [&] { ++takenCount_; }); };
    if (selection_ == Selection::All) {
        count();
        sleep();
    } else {
        sleep();
        count();
    }
}

bool DownloadRun::fetchItem(int row) {
    // Forgetting the previous row's message makes a row whose message is gone fail on its own
    // instead of saving the previous message again under a new name.
    item_.reset();
    guard_.step(lines_->fetch, [&] {
        const std::string entryId(controls_.ListView1.subItem(row, entryIdSubItem));
        item_ = Required(namespace_).GetItemFromID(entryId);
    });
    return item_ != nullptr;
}

void DownloadRun::nameFile() {
    const RowLines &lines = *lines_;
    path_.clear(); // a path step that fails must not leave the previous message's path
    guard_.step(lines.name, [&] {
        // The time stamp comes first, so a subject that cannot be read leaves a name of this
        // moment instead of the previous message's name, whose file the save would replace.
        name_ = OutlookTimeStamp(facilities_.clock.now(), facilities_.locale) + " ";
        name_ += Required(item_).Subject();
    });
    for (std::size_t index = 0; index < outlookReplacements.size(); ++index)
        guard_.step(lines.firstReplacement + 2 * static_cast<int>(index),
                    [&] { name_ = ApplyReplacement(name_, outlookReplacements[index]); });
    guard_.step(lines.path, [&] { path_ = folder_ + unusedFileName(); });
}

std::string DownloadRun::unusedFileName() const {
    // Time stamps come round again in the hour that repeats when the clocks go back; a name
    // this run has saved under must not be replaced, while an earlier run's file may be.
    std::string fileName = FittedFileName(name_, ".txt");
    for (int copy = 2; savedPaths_.contains(folder_ + fileName); ++copy)
        fileName = FittedFileName(name_, " (" + std::to_string(copy) + ").txt");
    return fileName;
}

bool DownloadRun::saveItem() {
    bool saved = false;
    guard_.step(lines_->save, [&] {
        Required(item_).SaveAs(path_, outlook::olTXT);
        saved = true;
    });
    if (saved) {
        savedPaths_.insert(path_);
        progress_->messageSaved();
    }
    return saved;
}

void DownloadRun::gatherIntoCombinedFile() {
    const RowLines &lines = *lines_;
    const std::string combinedPath = folder_ + combinedFileName;
    text_.clear();
    guard_.step(lines.readBack, [&] {
        text_ = ReadTextFileOrWarn(facilities_.files, facilities_.messages, path_);
    });
    // An empty text means the single file could not be read: adding nothing to the combined
    // file must not replace it either.
    if (text_.empty())
        return;
    bool gathered = false;
    guard_.step(lines.write, [&] {
        // The first text of the run replaces what an earlier run left; the rest follow it.
        WriteOrAppendTextFile(facilities_.files, text_, combinedPath, combinedWrites_ + 1);
        ++combinedWrites_;
        gathered = true;
    });
    // Until the combined file holds the message, the single file is its only copy.
    if (gathered)
        guard_.step(lines.deleteSingle,
                    [&] { DeleteFileQuietly(facilities_.files, facilities_.events, path_); });
}

void DownloadRun::closeOutlook() {
    guard_.step(342, [&] { namespace_.reset(); });
    guard_.step(344, [&] {
        item_.reset();
        application_.reset();
    });
    guard_.step(346, [&] { controls_.window.setPointer(MousePointer::Default); });
}

void DownloadRun::announce() {
    if (guard_.test(348, [&] { return takenCount_ < 1; }))
        guard_.step(356, [&] { facilities_.messages.show("No records selected"); });
    else
        guard_.step(354, [&] { facilities_.messages.show("Done."); });
}

} // namespace qb::exporting
