#include "cli/outlook_store_export.h"

#include "cli/message_names.h"
#include "failure/failure.h"
#include "outlook/outlook_listing.h"
#include "pst/pff_mail_store.h"

#include <optional>

namespace qb::cli {
namespace {

using outlook::Folder;
using outlook::Item;

/// Where the walk is: the folder path from the level-1 folder down, and the level-1 name.
struct WalkPlace {
    std::string path;
    std::string topFolder;
};

class StoreExport {
  public:
    StoreExport(const std::string &file, ExportTarget &target) : file_(file), target_(target) {}

    /// Walks the folders below folder, which lies at place (the root when level is 1).
    void walk(Folder &folder, int level, const WalkPlace &place) {
        if (!outlook::IsWalkedFolder(folder.defaultValue()))
            return;
        const auto subfolders = folder.folders();
        const int count = subfolders->count();
        for (int index = 1; index <= count; ++index) {
            WalkPlace inner = place;
            try {
                const auto subfolder = subfolders->item(index);
                const std::string subfolderName = subfolder->name();
                inner.path = level == 1 ? subfolderName : place.path + "/" + subfolderName;
                if (level == 1)
                    inner.topFolder = subfolderName;
                walkSubfolder(*subfolder, subfolderName, inner);
            } catch (const Failure &failure) {
                target_.output.failed(where(inner.path.empty() ? place.path : inner.path, ""),
                                      failure.description());
            }
        }
    }

  private:
    void walkSubfolder(Folder &subfolder, const std::string &name, const WalkPlace &place) {
        walk(subfolder, 2, place);
        if (!target_.takes(place.topFolder, name))
            return;
        const auto items = subfolder.items();
        const int count = items->count();
        for (int index = 1; index <= count; ++index)
            exportItem(*items, index, place);
    }

    void exportItem(outlook::Items &items, int index, const WalkPlace &place) {
        std::optional<std::string> subject;
        try {
            const auto item = items.item(index);
            if (item->Class() != outlook::olMail)
                return;
            subject = item->Subject();
            const std::string stem = MessageStem(item->ReceivedTime(), *subject);
            // The window's own save gives the text, so that both write the same bytes.
            target_.output.message(item->SavedText(outlook::olTXT), stem,
                                   where(place.path, "\"" + *subject + "\""));
        } catch (const Failure &failure) {
            target_.output.failed(where(place.path, subject ? "\"" + *subject + "\""
                                                            : "item " + std::to_string(index)),
                                  failure.description());
        }
    }

    /// The file, the folder path and the message, as a failure names them.
    std::string where(const std::string &folderPath, const std::string &message) const {
        std::string text = file_ + ": " + (folderPath.empty() ? "(top)" : folderPath);
        return message.empty() ? text : text + ": " + message;
    }

    const std::string &file_;
    ExportTarget &target_;
};

} // namespace

void ExportOutlookStore(const std::string &path, ExportTarget &target) {
    try {
        // A layer of its own, with an empty profile: its catalog keeps every file it opened
        // until the layer is gone, and a run over many stores must not keep them all.
        PffMailStoreLayer layer("");
        const auto mapi = layer.createApplication()->GetNamespace("MAPI");
        mapi->AddStore(path);
        const auto root = mapi->folders()->GetLast();
        StoreExport(path, target).walk(*root, 1, {});
        mapi->RemoveStore(*root);
    } catch (const Failure &failure) {
        target.output.failed(path, failure.description());
    }
}

} // namespace qb::cli
