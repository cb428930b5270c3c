#include "dbx/conversion.h"

#include "dbx/eml_folder.h"
#include "text/codepage.h"

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

  private:
    EmlFolder &folder_;
    std::string text_;
};

std::string IndexedStem(const std::string &stem, std::uint64_t index) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "-%05llu", static_cast<unsigned long long>(index));
    return stem + digits;
}

/// Writes each message it is handed as a file of its own and describes damage on the log.
class EmlWriter : public MessageVisitor {
  public:
    EmlWriter(const std::string &folder, const std::string &dbxPath, std::ostream &log,
              const StopCheck &stopRequested)
        : folder_(folder), buffer_(folder_), stem_(FileStemFor(dbxPath)), log_(log),
          stopRequested_(stopRequested) {}

    AfterMessage message(std::uint64_t number, MessageText &text) override {
        folder_.begin();
        text.copyTo(buffer_);
        buffer_.flush();
        folder_.keep(IndexedStem(stem_, number));
        return stopRequested_ && stopRequested_() ? AfterMessage::stop : AfterMessage::readOn;
    }

    void damage(const Damage &damage) override { log_ << "Splinterbox: " << damage.line << "\n"; }

  private:
    EmlFolder folder_;
    MessageBuffer buffer_;
    std::string stem_;
    std::ostream &log_;
    const StopCheck &stopRequested_;
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
    stem = std::string(Utf8Prefix(stem, longestStem));
    return stem.empty() ? "mailbox" : stem;
}

MailboxSummary ConvertMailbox(const std::string &dbxPath, const std::string &folder,
                              std::ostream &log, const StopCheck &stopRequested) {
    EmlWriter writer(folder, dbxPath, log, stopRequested);
    const MailboxSummary summary = ReadMailbox(dbxPath, writer);
    if (summary.kind == DatabaseKind::NotDbx)
        log << "Splinterbox: " << dbxPath << " is " << DescribeKind(summary.kind) << "\n";
    else if (summary.kind != DatabaseKind::Messages)
        log << "Splinterbox: " << dbxPath << " is " << DescribeKind(summary.kind)
            << ", which holds no messages\n";
    else if (summary.read == 0 && summary.whole())
        log << "Splinterbox: " << dbxPath << " holds no messages\n";
    return summary;
}

} // namespace qb::dbx
