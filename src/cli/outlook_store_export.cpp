#include "cli/outlook_store_export.h"

#include "cli/outlook_message.h"
#include "failure/caught_failure.h"
#include "pst/pff_mail_store.h"

#include <filesystem>
#include <optional>

namespace qb::cli {
namespace {

/// The command line has no window whose events would wait.
class NoWindowEvents : public EventPump {
  public:
    void processEvents() override {}
    void waitForEvents(double) override {}
};

/// The folder names of a walk's place: "Inbox/Sub" gives Inbox and Sub.
std::vector<std::string> SplitPath(const std::string &path) {
    std::vector<std::string> names;
    for (std::size_t start = 0; !path.empty() && start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

/// Hands the messages of one store's walk to the target, and names each failure of the walk by
/// the store file, the folder path and the item.
class StoreExport : private FailureReporter, private mail::MessageTaker {
  public:
    StoreExport(const std::string &file, ExportTarget &target)
        : file_(file), storeFolder_(std::filesystem::path(file).filename().string()),
          target_(target), walk_({*this, events_}, scopeOf(target), *this) {}

    void walkStore(const std::shared_ptr<outlook::Folder> &top) {
        // The top folder's name is the store's as the window shows it; it only names failures.
        std::string storeName;
        if (CaughtFailure([&] { storeName = top->name(); }))
            storeName = file_;
        walk_.walkStore(top, storeName);
    }

  private:
    static mail::WalkScope scopeOf(const ExportTarget &target) {
        mail::WalkScope scope;
        scope.topFolderMail = mail::TopFolderMail::Taken;
        scope.folderName = target.folderName;
        scope.stopRequested = target.stopRequested;
        scope.takenMeans = "written";
        return scope;
    }

    void report(const Failure &failure, const std::string &, int, const std::string &) override {
        const mail::WalkPlace &place = walk_.place();
        target_.report.failed(
            where(place, place.item() > 0 ? "item " + std::to_string(place.item()) : ""),
            failure.description());
    }

    void enteredTopFolder(const std::string &) override {}

    void take(Guard &, const mail::WalkPlace &place, outlook::Folder &,
              outlook::Item &item) override {
        std::optional<std::string> subject;
        const auto failure = CaughtFailure([&] {
            const auto message = item.message();
            subject = message->subject();
            OutlookMessage exported(*message, where(place, "\"" + *subject + "\""));
            target_.output.write(folderOf(place, *message), exported);
        });
        if (failure)
            target_.report.failed(where(place, subject ? "\"" + *subject + "\""
                                                       : "item " + std::to_string(place.item())),
                                  failure->description());
    }

    /// The output folder path of a message: the store's file name, then its folders.
    FolderPath folderOf(const mail::WalkPlace &place, mail::Message &message) const {
        FolderPath path{storeFolder_};
        std::vector<std::string> folders;
        // A name that cannot be read leaves the place's own reading of the path, "?" for it.
        if (CaughtFailure([&] { folders = message.folderPath(); }))
            folders = SplitPath(place.folderPath());
        path.insert(path.end(), folders.begin(), folders.end());
        return path;
    }

    /// The file, the folder path and the message, as a failure names them.
    std::string where(const mail::WalkPlace &place, const std::string &message) const {
        const std::string path = place.folderPath();
        std::string text = file_ + ": " + (path.empty() ? "(top)" : path);
        return message.empty() ? text : text + ": " + message;
    }

    const std::string &file_;
    std::string storeFolder_;
    ExportTarget &target_;
    NoWindowEvents events_;
    mail::MailWalk walk_;
};

} // namespace

void ExportStoreFolders(const std::shared_ptr<outlook::Folder> &top, const std::string &file,
                        ExportTarget &target) {
    StoreExport(file, target).walkStore(top);
}

void ExportOutlookStore(const std::string &path, ExportTarget &target) {
    const auto failure = CaughtFailure([&] {
        // A layer of its own, with an empty profile: its catalog keeps every file it opened
        // until the layer is gone, and a run over many stores must not keep them all.
        PffMailStoreLayer layer("");
        const auto mapi = layer.createApplication()->GetNamespace("MAPI");
        mapi->AddStore(path);
        const auto top = mapi->folders()->GetLast();
        ExportStoreFolders(top, path, target);
        mapi->RemoveStore(*top);
    });
    if (failure)
        target.report.failed(path, failure->description());
}

} // namespace qb::cli
