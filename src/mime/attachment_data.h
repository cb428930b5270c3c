#pragma once

#include "mail/message.h"
#include "mime/backed_stream.h"
#include "mime/part_reader.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qb::mime {

/// Gives the attachment again, read afresh from the store; throws Failure.
using AttachmentOpener = std::function<std::unique_ptr<mail::Attachment>()>;

/// The data of an attachment, read from the store a piece at a time while GMime writes its part,
/// so that no more than one piece is in memory at once. A store may hold an attachment's whole
/// data while the attachment is open, so a large one is let go between the planning of its part
/// and the writing, and every one once its part is written; it is opened again when needed.
class AttachmentData : public ReadBackend {
  public:
    /// part is how problems name the attachment.
    AttachmentData(std::unique_ptr<mail::Attachment> attachment, AttachmentOpener reopen,
                   EmlContext &context, std::string part);

    /// Opens the data and reads its first piece, so that data that cannot be read at all is
    /// known before the part is made, then lets a large attachment go. Throws Failure.
    void start();

    /// A read that fails after the first piece ends the data there: the part holds what came
    /// before, and the failure is a problem of the attachment.
    ssize_t read(char *buffer, std::size_t size) override;
    bool atEnd() override { return atEnd_; }
    /// Back to the first byte; the data is opened again when it is read again.
    int reset() override;

  private:
    void readPiece(std::size_t size);
    void fill();
    void letGo();

    std::unique_ptr<mail::Attachment> attachment_;
    AttachmentOpener reopen_;
    EmlContext &context_;
    std::string part_;
    std::unique_ptr<mail::ByteStream> stream_;
    std::unique_ptr<char[]> piece_;
    std::size_t pieceCapacity_ = 0;
    std::size_t pieceLength_ = 0;
    std::size_t pieceAt_ = 0;
    std::uint64_t passed_ = 0;
    bool ended_ = false;
    bool atEnd_ = false;
};

} // namespace qb::mime
