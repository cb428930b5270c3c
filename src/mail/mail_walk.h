#pragma once

#include "failure/guard.h"
#include "mail/unreadable_items.h"
#include "mail/walk_place.h"
#include "platform/event_pump.h"
#include "platform/outlook_api.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

// The one walk through a mail store's folders that the window's listing and the command line's
// export both run: which folders and messages are walked, in which order, and what happens when a
// part of the store cannot be read.
namespace qb::mail {

/// The window's designed name of the folder walk, which its failure reports show.
inline constexpr ProcedureName walkProcedure{"Form1", "GetMailItems"};

/// Whether the messages lying directly in a store's top folder are walked.
enum class TopFolderMail {
    /// Only the messages of the folders below the top, as the window lists a store.
    Left,
    /// Those of the top folder too, after all the others.
    Taken,
};

/// A search that a message has to pass to be taken.
struct MessageSearch {
    /// Whether the search is on; asked afresh before each message.
    std::function<bool()> active;
    /// Whether the message passes; a failure is reported and counts as a pass.
    std::function<bool(outlook::Item &)> passes;
};

/// What a walk takes besides the rules every walk keeps.
struct WalkScope {
    TopFolderMail topFolderMail = TopFolderMail::Left;
    /// Only the messages of folders whose level-1 folder or own folder has this name, compared
    /// exactly, when set.
    std::optional<std::string> folderName;
    std::optional<MessageSearch> search;
    /// Asked before each folder and each message; once it says yes, the walk ends, so a stop
    /// comes after the current message. Empty means never.
    std::function<bool()> stopRequested;
    /// What the walk does with the messages it takes ("listed", "written"), as the report of
    /// unreadable items says it.
    std::string takenMeans = "listed";
};

/// The facilities a walk uses.
struct WalkFacilities {
    /// Hears of every failing step, named as the window's folder walk (walkProcedure).
    FailureReporter &reporter;
    /// Runs pending window events before each folder and each item.
    EventPump &events;
};

/// What a walk hands on.
class MessageTaker {
  public:
    virtual ~MessageTaker() = default;
    /// The walk entered a level-1 folder; the name is empty when it cannot be read.
    virtual void enteredTopFolder(const std::string &name) = 0;
    /// A mail message the scope takes, lying in holder. Steps run under the walk's own guard are
    /// reported as the walk's.
    virtual void take(Guard &guard, const WalkPlace &place, outlook::Folder &holder,
                      outlook::Item &item) = 0;
};

/// Walks the folders of stores depth-first and hands every mail message it meets to a taker.
///
/// The walk of a folder first tests its name: "Internet Newsgroups" and "All Public Folders"
/// hold news and public folders, not the user's mail, and nothing below them is walked. Then,
/// for each subfolder in the store's order, it walks that subfolder's own subfolders and then
/// its items, so the deepest folders' messages come first. Items whose class is not mail (43)
/// are passed over, as are those the scope's search or folder name leaves out. The messages of
/// the folder given to a walk are not walked by it but by its parent's walk; a store's top
/// folder has no parent, so its messages are walked only when the scope takes them.
///
/// Every step runs under the failure guard of the window's folder walk, with its line numbers,
/// and each report ends with the line "pFld.Folders.count: n" for the folder being walked. A
/// failing step is reported and the walk goes on; a failing test counts as passed, so a folder
/// whose name cannot be tested is walked and an item whose class cannot be read is taken as
/// mail. An item of which neither class, subject nor sender can be read gets no report of its
/// own: one report at the end of the store counts all such items and names the first few.
class MailWalk {
  public:
    MailWalk(WalkFacilities facilities, WalkScope scope, MessageTaker &taker);

    /// Walks one store from its top folder. A failure while a report is built (the folder count
    /// of the top folder cannot be read) is not caught: it reaches the caller.
    void walkStore(const std::shared_ptr<outlook::Folder> &top, const std::string &storeName);

    /// Where the walk is now, for reports that name it.
    const WalkPlace &place() const { return place_; }
    /// True once the scope asked the walk to stop.
    bool stopped() const { return stopped_; }

  private:
    void walkFolder(int level, const std::shared_ptr<outlook::Folder> &folder);
    void walkSubfolder(Guard &guard, int level, const std::shared_ptr<outlook::Folder> &subfolder);
    void walkItems(Guard &guard, outlook::Folder &holder);
    void considerItem(Guard &guard, outlook::Folder &holder, outlook::Item &item);
    bool takesFolder(Guard &guard, outlook::Folder &holder);
    bool stopRequested();

    WalkFacilities facilities_;
    WalkScope scope_;
    MessageTaker &taker_;
    WalkPlace place_;
    UnreadableItems unreadable_;
    bool stopped_ = false;
};

/// False for the folders whose trees hold news and public folders, not the user's mail: no walk
/// goes into them.
bool IsWalkedFolder(const std::string &folderName);

/// True when a folder name, if one is given, names the level-1 folder or the folder itself.
bool TakesFolder(const std::optional<std::string> &folderName, const std::string &topFolder,
                 const std::string &ownFolder);

} // namespace qb::mail
