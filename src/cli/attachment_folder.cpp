#include "cli/attachment_folder.h"

#include "cli/safe_names.h"
#include "failure/caught_failure.h"

namespace qb::cli {

void AttachmentFolder::save(const std::string &name, const std::function<void(ByteSink &)> &write) {
    const auto failure = CaughtFailure([&] {
        if (!folder_)
            folder_ = setting_.tree.subfolder(*parent_, name_);
        const SplitName split = SplitExtension(SafeName(name));
        const auto fileName = folder_->nameFor(split.stem, split.ending);
        if (!fileName)
            return;
        files::StagedFile file = folder_->stage(folder_->path() + "/" + *fileName);
        StagedFileSink sink(file);
        write(sink);
        sink.flush();
        file.finish(files::Durability::Unsynced);
        setting_.placer.add({folder_, std::move(file), split.stem, split.ending, *fileName, "",
                             where_ + ": " + name, 0});
    });
    if (failure)
        notSaved(name, failure->description());
}

void AttachmentFolder::notSaved(const std::string &part, const std::string &why) {
    setting_.report.failed(where_ + ": " + part, why);
}

} // namespace qb::cli
