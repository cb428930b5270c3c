#include "dbx/conversion.h"

#include "dbx/block_chain.h"
#include "dbx/eml_folder.h"
#include "dbx/file_window.h"
#include "dbx/message_info.h"
#include "dbx/message_tree.h"

#include <cstdio>
#include <string_view>

namespace qb::dbx {
namespace {

// A message is written with one system call unless it is larger than this.
constexpr std::size_t flushSize = 4 * 1024 * 1024;
// File names may hold 255 bytes; the stem leaves room for "-NNNNNNNNNN-NNNNNNN.eml".
constexpr std::size_t longestStem = 200;

/// Gathers a message's text and passes it to the folder in large pieces.
class MessageBuffer : public TextSink {
  public:
    explicit MessageBuffer(EmlFolder &folder) : folder_(folder) { text_.reserve(64 * 1024); }
    void append(std::string_view bytes) override {
        if (text_.size() + bytes.size() > flushSize)
            flush();
        text_.append(bytes);
    }
    void flush() {
        folder_.write(text_);
        text_.clear();
    }
    void clear() { text_.clear(); }

  private:
    EmlFolder &folder_;
    std::string text_;
};

std::string IndexedStem(const std::string &stem, std::uint64_t index) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "-%05llu", static_cast<unsigned long long>(index));
    return stem + digits;
}

std::string MessagePlace(const MessageEntry &message) {
    return "message " + std::to_string(message.index) + " (info at " +
           HexOffset(message.infoOffset) + ")";
}

/// The messages a database holds, read and written one at a time.
class Conversion {
  public:
    Conversion(const std::string &dbxPath, const std::string &folder, std::ostream &log)
        : tree_(dbxPath), messages_(dbxPath), folder_(folder), buffer_(folder_),
          stem_(FileStemFor(dbxPath)), log_(log) {}

    ConversionSummary run(const std::string &dbxPath) {
        const DatabaseHeader header = ReadDatabaseHeader(tree_);
        summary_.kind = header.kind;
        if (header.kind == DatabaseKind::NotDbx) {
            log_ << "Splinterbox: " << dbxPath << " is " << DescribeKind(header.kind) << "\n";
            return summary_;
        }
        if (header.kind != DatabaseKind::Messages) {
            log_ << "Splinterbox: " << dbxPath << " is " << DescribeKind(header.kind)
                 << ", which holds no messages\n";
            return summary_;
        }
        MessageTreeWalk walk(tree_, header.treeRoot, [this](const std::string &line) {
            ++summary_.treeDamage;
            log_ << "Splinterbox: " << line << "\n";
        });
        std::uint64_t listed = 0;
        while (const auto message = walk.next()) {
            ++listed;
            convert(*message);
        }
        if (header.messageCount > listed) {
            summary_.unreachable = header.messageCount - listed;
            log_ << "Splinterbox: the database counts " << header.messageCount
                 << " messages, but its tree leads to only " << listed << "\n";
        }
        if (listed == 0 && summary_.whole())
            log_ << "Splinterbox: " << dbxPath << " holds no messages\n";
        return summary_;
    }

  private:
    void convert(const MessageEntry &message) {
        const MessageStart start = FindMessageStart(messages_, message.infoOffset);
        if (!start.damage.empty())
            return lose(message, start.damage);
        folder_.begin();
        buffer_.clear();
        const std::string damage = CopyBlockChain(messages_, start.firstBlock, buffer_);
        if (!damage.empty()) {
            folder_.discard();
            return lose(message, damage);
        }
        buffer_.flush();
        folder_.keep(IndexedStem(stem_, message.index));
        ++summary_.written;
    }

    void lose(const MessageEntry &message, const std::string &damage) {
        ++summary_.damaged;
        log_ << "Splinterbox: " << MessagePlace(message) << " not written: " << damage << "\n";
    }

    // The tree is read in a window of its own: its nodes and the messages lie far apart.
    FileWindow tree_;
    FileWindow messages_;
    EmlFolder folder_;
    MessageBuffer buffer_;
    std::string stem_;
    std::ostream &log_;
    ConversionSummary summary_;
};

} // namespace

std::string FileStemFor(const std::string &dbxPath) {
    std::string stem = dbxPath.substr(dbxPath.rfind('/') + 1);
    const std::size_t suffix = stem.size() >= 4 ? stem.size() - 4 : std::string::npos;
    if (suffix != std::string::npos && suffix > 0 && stem[suffix] == '.' &&
        (stem[suffix + 1] | 0x20) == 'd' && (stem[suffix + 2] | 0x20) == 'b' &&
        (stem[suffix + 3] | 0x20) == 'x')
        stem.erase(suffix);
    stem.erase(0, stem.find_first_not_of('.'));
    if (stem.size() > longestStem) {
        // Cut before a UTF-8 continuation byte would split a character.
        std::size_t cut = longestStem;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xc0) == 0x80)
            --cut;
        stem.erase(cut);
    }
    return stem.empty() ? "mailbox" : stem;
}

ConversionSummary ConvertMailbox(const std::string &dbxPath, const std::string &folder,
                                 std::ostream &log) {
    return Conversion(dbxPath, folder, log).run(dbxPath);
}

} // namespace qb::dbx
