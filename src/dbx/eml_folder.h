#pragma once

#include <string>
#include <string_view>

namespace qb::dbx {

/// The folder that receives the converted messages, one file at a time. A file is written under
/// a hidden temporary name and takes its final name only when whole, and it never replaces a
/// file that is already there: it takes the next free name instead.
class EmlFolder {
  public:
    /// Opens the folder; throws Failure when it is missing or cannot be opened.
    explicit EmlFolder(const std::string &path);
    /// Drops a file still being written.
    ~EmlFolder();
    EmlFolder(const EmlFolder &) = delete;
    EmlFolder &operator=(const EmlFolder &) = delete;

    /// Starts a new, empty file under the temporary name. Throws Failure.
    void begin();
    /// Appends to the file begun last. Throws Failure.
    void write(std::string_view bytes);
    /// Gives the file begun last the first free name of stem + ".eml", stem + "-2.eml",
    /// stem + "-3.eml" and so on, and returns that name. Throws Failure.
    std::string keep(const std::string &stem);
    /// Drops the file begun last; never fails.
    void discard();

  private:
    bool tryName(const std::string &name);

    std::string path_;
    std::string temporaryName_;
    int folder_ = -1;
    int file_ = -1;
    /// The folder's file system refuses renames that must not replace; hard links serve instead.
    bool linkInstead_ = false;
};

} // namespace qb::dbx
