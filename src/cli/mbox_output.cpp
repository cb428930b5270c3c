#include "cli/mbox_output.h"

#include "cli/mbox_format.h"
#include "failure/caught_failure.h"

namespace qb::cli {
namespace {

/// Writes into whichever file an mbox is, staged or added to, in large pieces.
class MboxSink : public ByteSink {
  public:
    MboxSink(std::optional<files::StagedFile> &staged, std::optional<files::AppendedFile> &appended)
        : staged_(staged), appended_(appended) {}
    void write(std::string_view bytes) override {
        buffer_.append(bytes);
        if (buffer_.size() >= bufferSize)
            flush();
    }
    void flush() {
        if (staged_)
            staged_->write(buffer_);
        else
            appended_->write(buffer_);
        buffer_.clear();
    }
    /// The bytes of the file, those still waiting included.
    std::uint64_t size() const {
        return (staged_ ? staged_->size() : appended_->size()) + buffer_.size();
    }
    void cutBack(std::uint64_t size) {
        buffer_.clear();
        if (staged_)
            staged_->cutBack(size);
        else
            appended_->cutBack(size);
    }

  private:
    static constexpr std::size_t bufferSize = 256 * 1024;
    std::optional<files::StagedFile> &staged_;
    std::optional<files::AppendedFile> &appended_;
    std::string buffer_;
};

} // namespace

MboxOutput::~MboxOutput() {
    close();
}

void MboxOutput::write(const FolderPath &folder, ExportedMessage &message) {
    const auto failure = CaughtFailure([&] {
        if (!mbox_ || mbox_->path != folder) {
            close();
            open(folder);
        }
        if (mbox_->toSkip > 0) {
            --mbox_->toSkip;
            setting_.report.skipped();
            return;
        }
        append(message);
    });
    if (failure)
        setting_.report.failed(message.where(), failure->description());
}

void MboxOutput::open(const FolderPath &path) {
    Mbox mbox;
    mbox.path = path;
    mbox.folder = setting_.tree.parentFolder(path, mbox.stem);
    const std::string target = mbox.folder->path() + "/" + mbox.stem + ".mbox";
    if (const auto name = mbox.folder->nameFor(mbox.stem, ".mbox")) {
        mbox.name = *name;
        mbox.staged.emplace(mbox.folder->stage(mbox.folder->path() + "/" + *name));
    } else {
        // Skipped means an earlier run wrote it: it is completed, not written again.
        mbox.name = mbox.stem + ".mbox";
        mbox.toSkip = CountMboxMessages(mbox.folder->folder().descriptor(), mbox.name, target);
        mbox.appended.emplace(mbox.folder->folder(), mbox.name, target);
    }
    mbox_.emplace(std::move(mbox));
}

void MboxOutput::append(ExportedMessage &message) {
    MboxSink file(mbox_->staged, mbox_->appended);
    const std::uint64_t start = file.size();
    std::vector<PartProblem> problems;
    try {
        file.write(MboxSeparator(message.senderAddress(), message.time()));
        MboxrdQuoting quoting(file);
        message.writeEml(quoting, problems);
        quoting.finish();
        file.flush();
    } catch (...) {
        // The mbox keeps whole messages only.
        file.cutBack(start);
        throw;
    }
    ++mbox_->messages;
    setting_.report.messageWritten();
    ReportProblems(setting_.report, message.where(), problems);
}

void MboxOutput::close() {
    if (!mbox_)
        return;
    Mbox mbox = std::move(*mbox_);
    mbox_.reset();
    const std::string where = mbox.folder->path() + "/" + mbox.name;
    const auto failure = CaughtFailure([&] {
        if (mbox.appended) {
            mbox.appended->finish();
            return;
        }
        mbox.staged->finish(files::Durability::Unsynced);
        if (mbox.messages > 0)
            setting_.placer.add({mbox.folder, std::move(*mbox.staged), mbox.stem, ".mbox",
                                 mbox.name, "", where, mbox.messages, true});
    });
    if (failure)
        setting_.report.withdrawn(mbox.messages, where, failure->description());
}

} // namespace qb::cli
