#include "dbx/mailbox_reader.h"

#include "dbx/file_window.h"
#include "dbx/message_info.h"
#include "dbx/message_scan.h"
#include "dbx/message_tree.h"
#include "dbx/seen_objects.h"
#include "dbx/tree_node.h"

namespace qb::dbx {
namespace {

/// One reading of a database: finds the messages through the tree or, when the tree cannot be
/// used, by searching the file, and hands each one to the visitor.
class MailboxReading {
  public:
    MailboxReading(const std::string &path, MessageVisitor &visitor)
        : index_(path), objects_(path), chains_(objects_), infos_(objects_.size()),
          visitor_(visitor) {}

    MailboxSummary run() {
        const DatabaseHeader header = ReadDatabaseHeader(index_);
        summary_.kind = header.kind;
        if (header.kind != DatabaseKind::Messages)
            return summary_;
        const std::string damage = rootDamage(header);
        if (damage.empty()) {
            walkTree(header);
        } else if (header.treeRoot != 0 || header.messageCount != 0 ||
                   index_.size() > databaseHeaderSize) {
            search(header, "the database's index cannot be used (" + damage + ")");
        }
        if (repeated_ > 0)
            report(Loss::none, std::to_string(repeated_) +
                                   " index entries name a message already read; each message "
                                   "is read once");
        return summary_;
    }

  private:
    std::string rootDamage(const DatabaseHeader &header) {
        if (header.treeRoot == 0)
            return "it names no message tree";
        const std::string where = "its tree's root node at " + HexOffset(header.treeRoot) + " ";
        const TreeNode root = ReadTreeNode(index_, header.treeRoot);
        if (!root.damage.empty())
            return where + root.damage;
        // A root pointer that is damaged may still hit an object that names itself. An empty
        // root is an empty tree.
        const bool empty = root.entries == 0 && TreeChild(index_, header.treeRoot, 0) == 0;
        if (!empty && !LeadsToMessages(index_, header.treeRoot, root.entriesInFile))
            return where + "leads to no messages";
        return {};
    }

    void walkTree(const DatabaseHeader &header) {
        MessageTreeWalk walk(index_, header.treeRoot,
                             [this](const Damage &damage) { report(damage); });
        while (!summary_.stopped) {
            const auto info = walk.next();
            if (!info)
                break;
            take(*info);
        }
        if (summary_.stopped)
            return;
        if (summary_.read == 0 && (!summary_.whole() || header.messageCount > numbered_)) {
            // The search stands in for the tree, so the places where the tree lost messages
            // count no longer; the messages found to be damaged still do.
            summary_.unreachable = 0;
            search(header, "the database's tree leads to no message that can be read");
            return;
        }
        if (numbered_ != header.messageCount)
            report(Loss::none, "the database counts " + std::to_string(header.messageCount) +
                                   " messages, but its tree leads to " + std::to_string(numbered_));
    }

    void search(const DatabaseHeader &header, const std::string &why) {
        summary_.searched = true;
        report(Loss::none, why + ": the whole file is searched for messages, which come in file "
                                 "order");
        MessageScan scan(index_, objects_);
        while (!summary_.stopped) {
            const auto info = scan.next();
            if (!info)
                break;
            take(*info);
        }
        if (summary_.stopped)
            return;
        if (numbered_ == 0 && (header.treeRoot != 0 || header.messageCount != 0))
            report(Loss::unreachable, "no message could be found without the index: the file's "
                                      "index is damaged");
        else if (numbered_ < header.messageCount)
            report(Loss::unreachable, "the database counts " + std::to_string(header.messageCount) +
                                          " messages, but only " + std::to_string(numbered_) +
                                          " were found in it");
        else if (numbered_ > header.messageCount && header.messageCount != 0)
            report(Loss::none, std::to_string(numbered_) + " messages were found, more than the " +
                                   std::to_string(header.messageCount) +
                                   " the database counts: some may be ones that were deleted");
    }

    /// Reads the message whose info object lies at info, unless it was read before.
    void take(std::uint64_t info) {
        if (!infos_.markNew(info)) {
            ++repeated_;
            return;
        }
        const std::uint64_t number = ++numbered_;
        // Built only for a report: most messages have none.
        const auto place = [number, info] {
            return "message " + std::to_string(number) + " (info at " + HexOffset(info) + ")";
        };
        const MessageStart start = FindMessageStart(objects_, info);
        if (!start.damage.empty())
            return report(Loss::message, place() + " is damaged: " + start.damage);
        if (!start.warning.empty())
            report(Loss::none, place() + ": " + start.warning);
        const ChainCheck check = chains_.check(start.firstBlock, [&](const std::string &line) {
            report(Loss::none, place() + ": " + line);
        });
        if (!check.damage.empty())
            return report(Loss::message, place() + " is damaged: " + check.damage);
        ++summary_.read;
        MessageText text(chains_, check.chain);
        summary_.stopped = visitor_.message(number, text) == AfterMessage::stop;
    }

    void report(Loss loss, const std::string &line) { report(Damage{loss, line}); }

    void report(const Damage &damage) {
        if (damage.loss == Loss::message)
            ++summary_.damaged;
        else if (damage.loss == Loss::unreachable)
            ++summary_.unreachable;
        visitor_.damage(damage);
    }

    // The tree and the search read through a window of their own: the objects they lead to lie
    // elsewhere in the file.
    FileWindow index_;
    FileWindow objects_;
    BlockChainReader chains_;
    SeenObjects infos_;
    MessageVisitor &visitor_;
    MailboxSummary summary_;
    std::uint64_t numbered_ = 0;
    std::uint64_t repeated_ = 0;
};

} // namespace

MailboxSummary ReadMailbox(const std::string &path, MessageVisitor &visitor) {
    return MailboxReading(path, visitor).run();
}

} // namespace qb::dbx
