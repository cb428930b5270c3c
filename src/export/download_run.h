#pragma once

#include "export/download_progress.h"
#include "export/download_selection.h"
#include "export/outlook_download.h"
#include "platform/outlook_api.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>

namespace qb::exporting {

/// One run of "Start Downloading": its inputs as read at the start, the Outlook objects it
/// opens, and its counters. Every step runs under the caller's guard with its line number. Once
/// the folder and the rows are chosen, the run is a long action of the window, which Stop ends
/// after the current message.
class DownloadRun {
  public:
    DownloadRun(const DownloadFacilities &facilities, DownloadControls controls, Guard &guard);

    /// Carries out the whole run.
    void run();

  private:
    bool chooseFolder();
    bool chooseFilter();
    /// How many rows of the list the selection takes now.
    int rowsToTake() const;
    void openOutlook();
    void downloadRows();
    void downloadRow(int row);
    void takeRow();
    bool fetchItem(int row);
    void saveFetchedItem();
    void nameFile();
    std::string unusedFileName() const;
    bool saveItem();
    void gatherIntoCombinedFile();
    void closeOutlook();
    void announce();

    const DownloadFacilities &facilities_;
    DownloadControls controls_;
    Guard &guard_;
    Selection selection_ = Selection::Nothing;
    const RowLines *lines_ = nullptr;
    DownloadProgress *progress_ = nullptr;

    std::string folder_;
    std::string filter_;
    std::int32_t takenCount_ = 0;
    /// Taken rows whose message was saved or failed, not left for a stop.
    int handledCount_ = 0;
    /// Texts gathered into the combined file so far; the first one replaces the file.
    std::int32_t combinedWrites_ = 0;

    std::shared_ptr<outlook::Application> application_;
    std::shared_ptr<outlook::Namespace> namespace_;
    std::shared_ptr<outlook::Item> item_;
    std::string name_;
    std::string path_;
    std::string text_;
    /// Paths of the files this run has saved, which later messages must not replace.
    std::set<std::string> savedPaths_;
};

} // namespace qb::exporting
