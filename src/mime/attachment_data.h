#pragma once

#include "mail/message.h"
#include "mime/backed_stream.h"
#include "mime/part_reader.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qb::mime {

/// The data of an attachment, read from the store a piece at a time while GMime writes its part,
/// so that no more than one piece is in memory at once.
class AttachmentData : public ReadBackend {
  public:
    /// part is how problems name the attachment.
    AttachmentData(std::unique_ptr<mail::Attachment> attachment, EmlContext &context,
                   std::string part);

    /// Opens the data and reads its first piece, so that data that cannot be read at all is
    /// known before the part is made. Throws Failure.
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

    std::unique_ptr<mail::Attachment> attachment_;
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
