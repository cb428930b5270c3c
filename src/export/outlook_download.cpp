#include "export/outlook_download.h"

#include "export/download_run.h"

namespace qb::exporting {

OutlookDownload::OutlookDownload(DownloadFacilities facilities, DownloadControls controls)
    : facilities_(facilities), controls_(controls) {}

void OutlookDownload::saveChosenMessages() {
    // Failure reports name the procedure by the window's name for "Start Downloading".
    Guard guard(facilities_.reporter, "Form1", "PushButton3_Click");
    DownloadRun(facilities_, controls_, guard).run();
}

} // namespace qb::exporting
