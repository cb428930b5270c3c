#include "export/file_utilities.h"
#include "export/folder_browser.h"
#include "export/outlook_download.h"

// Placeholder until the export subsystem lands.
namespace qb::exporting {

bool FileExists(FileSystem &files, const std::string &path) {
    try {
        files.modificationTime(path);
        return true;
    } catch (...) {
        return false;
    }
}
void DeleteFileQuietly(Platform &, const std::string &) {}
OutlookDownload::OutlookDownload(Platform &platform, DownloadControls controls)
    : platform_(platform), controls_(controls) {}
void OutlookDownload::PushButton3_Click() {}
void BrowseOutputFolder(Platform &, WindowModel &, TextBox &, const std::string &,
                        const std::string &) {}

} // namespace qb::exporting
