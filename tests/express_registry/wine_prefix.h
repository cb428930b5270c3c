#pragma once

#include "support/test_platform.h"

#include <filesystem>
#include <string>

namespace qb::test {

/// A Wine prefix in a scratch folder: drive C is drive_c, reached through dosdevices/c: as in
/// a prefix that Wine made.
class WinePrefixFolder {
  public:
    WinePrefixFolder() {
        std::filesystem::create_directories(folder_ / "drive_c");
        std::filesystem::create_directories(folder_ / "dosdevices");
        std::filesystem::create_directory_symlink("../drive_c", folder_ / "dosdevices/c:");
    }

    const std::string &path() const { return folder_.path(); }

    /// Writes a registry file (user.reg, system.reg, userdef.reg): the header line, then body.
    void writeRegistry(const std::string &file, const std::string &body) const {
        folder_.write(file, "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\n\n" + body);
    }

    /// Makes a file below drive_c, with its folders; the path uses "/".
    void writeDriveFile(const std::string &path, const std::string &bytes = "x") const {
        const std::filesystem::path file = folder_ / ("drive_c/" + path);
        std::filesystem::create_directories(file.parent_path());
        folder_.write("drive_c/" + path, bytes);
    }

  private:
    TempFolder folder_;
};

} // namespace qb::test
