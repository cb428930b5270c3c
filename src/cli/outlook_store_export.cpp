#include "cli/outlook_store_export.h"

#include "cli/message_names.h"
#include "failure/caught_failure.h"
#include "mail/message_reading.h"
#include "mail/message_rendering.h"
#include "pst/pff_mail_store.h"

#include <optional>

namespace qb::cli {
namespace {

/// The command line has no window whose events would wait.
class NoWindowEvents : public EventPump {
  public:
    void processEvents() override {}
    void waitForEvents(double) override {}
};

/// Hands the messages of one store's walk to the target, and names each failure of the walk by
/// the store file, the folder path and the item.
class StoreExport : private FailureReporter, private mail::MessageTaker {
  public:
    StoreExport(const std::string &file, ExportTarget &target)
        : file_(file), target_(target), walk_({*this, events_}, scopeOf(target), *this) {}

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
        target_.output.failed(
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
            const std::string stem = MessageStem(mail::ReceivedTime(*message), *subject);
            target_.output.message(mail::RenderedText(*message), stem,
                                   where(place, "\"" + *subject + "\""));
        });
        if (failure)
            target_.output.failed(where(place, subject ? "\"" + *subject + "\""
                                                       : "item " + std::to_string(place.item())),
                                  failure->description());
    }

    /// The file, the folder path and the message, as a failure names them.
    std::string where(const mail::WalkPlace &place, const std::string &message) const {
        const std::string path = place.folderPath();
        std::string text = file_ + ": " + (path.empty() ? "(top)" : path);
        return message.empty() ? text : text + ": " + message;
    }

    const std::string &file_;
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
        target.output.failed(path, failure->description());
}

} // namespace qb::cli
