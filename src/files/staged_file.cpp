#include "files/staged_file.h"

#include "failure/system_failure.h"
#include "files/staged_names.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace qb::files {
namespace {

/// Tries this many fresh random names before a clash is taken for a failure; one clash is
/// already all but impossible.
constexpr int stagedNameTries = 8;

} // namespace

StagedFile::StagedFile(Folder &folder, std::string target)
    : folder_(&folder), target_(std::move(target)) {
    for (int attempt = 1; !file_.isOpen(); ++attempt) {
        stagedName_ = NewStagedName(target_);
        file_ = Descriptor(::openat(folder.descriptor(), stagedName_.c_str(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!file_.isOpen() && (errno != EEXIST || attempt == stagedNameTries))
            throw SystemFailure(errno, target_);
    }
}

StagedFile::StagedFile(StagedFile &&other) noexcept
    : folder_(other.folder_), target_(std::move(other.target_)),
      stagedName_(std::move(other.stagedName_)), file_(std::move(other.file_)), size_(other.size_),
      staged_(std::exchange(other.staged_, false)), damaged_(other.damaged_) {}

StagedFile::~StagedFile() {
    if (staged_)
        ::unlinkat(folder_->descriptor(), stagedName_.c_str(), 0);
}

void StagedFile::write(std::string_view bytes) {
    if (WriteAll(file_.get(), bytes)) {
        size_ += bytes.size();
        return;
    }
    Failure failure = SystemFailure(errno, target_);
    const auto length = static_cast<off_t>(size_);
    // Without the cut the next write would follow a part of this one.
    if (::ftruncate(file_.get(), length) != 0 || ::lseek(file_.get(), length, SEEK_SET) < 0) {
        damaged_ = true;
        failure = Failure(failure.number(), failure.source(),
                          failure.description() + " (its end could not be cut back)");
    }
    throw failure;
}

void StagedFile::cutBack(std::uint64_t size) {
    if (size >= size_)
        return;
    const auto length = static_cast<off_t>(size);
    if (::ftruncate(file_.get(), length) != 0 || ::lseek(file_.get(), length, SEEK_SET) < 0) {
        damaged_ = true;
        throw SystemFailure(errno, target_);
    }
    size_ = size;
}

void StagedFile::finish(Durability durability) {
    if (durability == Durability::Synced && ::fsync(file_.get()) != 0)
        throw SystemFailure(errno, target_);
    if (!file_.close())
        throw SystemFailure(errno, target_);
}

bool StagedFile::place(const std::string &name, Placement placement) {
    return place(*folder_, name, placement);
}

bool StagedFile::place(Folder &into, const std::string &name, Placement placement) {
    if (damaged_)
        throw SystemFailure(EIO, target_);
    if (placement == Placement::KeepExisting) {
        if (!folder_->renameWithoutReplacing(stagedName_, into, name, target_))
            return false;
    } else if (::renameat(folder_->descriptor(), stagedName_.c_str(), into.descriptor(),
                          name.c_str()) != 0) {
        throw SystemFailure(errno, target_);
    }
    staged_ = false;
    return true;
}

} // namespace qb::files
