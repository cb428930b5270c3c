#include "cli/message_sink.h"

#include "export/output_names.h"
#include "failure/failure.h"

#include <optional>

namespace qb::cli {
namespace {

/// Staged files waiting for one sync; bounds both the sync count and the waiting list.
constexpr std::size_t stagedBatch = 512;

/// The name AllEmails.txt without its ending, which the output folder adds back.
std::string CombinedStem() {
    const std::string name = exporting::combinedFileName;
    return name.substr(0, name.size() - 4);
}

} // namespace

void SeparateFiles::add(const std::string &text, const std::string &stem,
                        const std::string &where) {
    const std::optional<std::string> name = folder_.nameFor(stem);
    if (!name) {
        report_.skipped();
        return;
    }
    try {
        files::StagedFile file(folder_.folder(), folder_.path() + "/" + *name);
        file.write(text);
        file.finish(files::Durability::Unsynced);
        staged_.push_back({std::move(file), *name, stem, where});
    } catch (const Failure &failure) {
        report_.failed(where, failure.description());
        return;
    }
    if (staged_.size() >= stagedBatch)
        placeStaged();
}

void SeparateFiles::finish() {
    placeStaged();
    try {
        folder_.folder().syncNames(folder_.path());
    } catch (const Failure &failure) {
        report_.failed(folder_.path(), failure.description());
    }
}

void SeparateFiles::placeStaged() {
    std::optional<Failure> unsynced;
    try {
        folder_.folder().syncFileSystem(folder_.path());
    } catch (const Failure &failure) {
        unsynced = failure;
    }
    for (Staged &staged : staged_) {
        try {
            if (unsynced)
                throw *unsynced;
            if (folder_.place(staged.file, staged.stem, staged.name))
                report_.messageWritten();
            else
                report_.skipped();
        } catch (const Failure &failure) {
            report_.failed(staged.where, failure.description());
        }
    }
    // The files that did not take a name are removed with their objects.
    staged_.clear();
}

CombinedFile::CombinedFile(OutputFolder &folder, RunReport &report)
    : folder_(folder), report_(report),
      file_(folder.folder(), folder.path() + "/" + exporting::combinedFileName) {}

void CombinedFile::add(const std::string &text, const std::string &, const std::string &where) {
    try {
        file_.write(text);
    } catch (const Failure &failure) {
        report_.failed(where, failure.description());
        return;
    }
    ++texts_;
    report_.messageWritten();
}

void CombinedFile::finish() {
    try {
        file_.finish(files::Durability::Synced);
        const std::string stem = CombinedStem();
        folder_.place(file_, stem, folder_.nameFor(stem).value_or(exporting::combinedFileName));
    } catch (const Failure &failure) {
        report_.withdrawn(texts_, file_.target(), failure.description());
        return;
    }
    try {
        folder_.folder().syncNames(folder_.path());
    } catch (const Failure &failure) {
        report_.failed(folder_.path(), failure.description());
    }
}

std::unique_ptr<MessageSink> MakeSink(OutputFolder &folder, RunReport &report, bool oneFile) {
    if (oneFile)
        return std::make_unique<CombinedFile>(folder, report);
    return std::make_unique<SeparateFiles>(folder, report);
}

} // namespace qb::cli
