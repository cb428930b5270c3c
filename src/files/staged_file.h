#pragma once

#include "files/descriptor.h"
#include "files/folder.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qb::files {

/// What a file that takes its name does with a file already there.
enum class Placement {
    /// It replaces it, as a save does; a link there is replaced itself, never followed.
    Replace,
    /// It never replaces anything: the name is refused when taken.
    KeepExisting,
};

/// How a finished file is made durable before it takes its name.
enum class Durability {
    /// Its bytes reach the disk before the rename (fsync), so a crash never leaves a name on a
    /// file that is not whole.
    Synced,
    /// Not yet: a later Folder::syncFileSystem makes a whole batch durable at once before the
    /// batch is placed; or never, for work files that are read at once and then deleted.
    Unsynced,
};

/// A new file in a folder, written under a hidden staged name (see NewStagedName) and given its
/// name only once it is whole. It is created with O_CREAT|O_EXCL|O_NOFOLLOW, so it is always a new
/// file of this process, never one planted under the name; mode 0666 lets the umask decide the
/// final mode, as for any file the program creates. Unless it took its name, the staged file is
/// removed when the object goes, so a stopped or failed write leaves nothing behind.
///
/// Every failure throws Failure naming target: the path the file stands in for, which the user
/// knows, never the staged name.
class StagedFile {
  public:
    /// Creates the empty staged file in the folder, which must outlive this object.
    StagedFile(Folder &folder, std::string target);
    StagedFile(StagedFile &&other) noexcept;
    StagedFile &operator=(StagedFile &&) = delete;
    StagedFile(const StagedFile &) = delete;
    StagedFile &operator=(const StagedFile &) = delete;
    ~StagedFile();

    /// Appends the bytes, whole or not at all: when the write fails part-way (a full disk), the
    /// file is cut back to the length it had, so it only ever holds whole writes. When even the
    /// cut fails, the file can no longer take a name.
    void write(std::string_view bytes);

    /// Cuts the file back to size bytes (no more than it holds), as when a piece written in
    /// several writes has to go again whole. When the cut fails, the file can no longer take a
    /// name. Throws Failure.
    void cutBack(std::uint64_t size);

    /// Ends the writing and closes the file, synced or not (see Durability). A close that reports
    /// a late write failure throws.
    void finish(Durability durability);

    /// Gives the finished file its name in the folder, as placement says; false only when
    /// KeepExisting finds the name taken, and then the file stays staged so that the caller may
    /// try another name.
    bool place(const std::string &name, Placement placement);
    /// The same, into another folder on the same file system (as a Maildir moves a message from
    /// tmp/ to cur/); into must outlive the call only.
    bool place(Folder &into, const std::string &name, Placement placement);

    /// The bytes written so far.
    std::uint64_t size() const { return size_; }
    const std::string &target() const { return target_; }
    /// Points failures at another path from now on, when the caller learns the final name late.
    void retarget(std::string target) { target_ = std::move(target); }

  private:
    Folder *folder_;
    std::string target_;
    std::string stagedName_;
    Descriptor file_;
    std::uint64_t size_ = 0;
    /// The staged name still exists and is this object's to remove.
    bool staged_ = true;
    /// A failed write could not be cut back: the file holds a part of a write.
    bool damaged_ = false;
};

} // namespace qb::files
