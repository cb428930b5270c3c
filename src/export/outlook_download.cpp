#include "export/outlook_download.h"

#include "export/download_run.h"

namespace qb::exporting {

OutlookDownload::OutlookDownload(Platform &platform, DownloadControls controls)
    : platform_(platform), controls_(controls) {}

void OutlookDownload::PushButton3_Click() {
    Guard guard(platform_.reporter, "Form1", "PushButton3_Click");
    DownloadRun(platform_, controls_, guard).run();
}

} // namespace qb::exporting
