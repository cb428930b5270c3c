#include "mime/attachment_data.h"

#include <algorithm>
#include <cstring>

namespace qb::mime {
namespace {

/// The first piece only tells whether the data can be read; the others are large enough that
/// the store is asked seldom.
constexpr std::size_t firstPieceSize = 4096;
constexpr std::size_t pieceSize = 256 * 1024;
/// Attachments up to this size stay open from the planning of the part to its writing, which
/// spares the store reading them twice.
constexpr std::uint64_t largestKeptOpen = 1024 * 1024;

} // namespace

AttachmentData::AttachmentData(std::unique_ptr<mail::Attachment> attachment,
                               AttachmentOpener reopen, EmlContext &context, std::string part)
    : attachment_(std::move(attachment)), reopen_(std::move(reopen)), context_(context),
      part_(std::move(part)) {}

void AttachmentData::start() {
    stream_ = attachment_->openData();
    readPiece(firstPieceSize);
    if (attachment_->size() > largestKeptOpen)
        letGo();
}

void AttachmentData::letGo() {
    stream_.reset();
    attachment_.reset();
    piece_.reset();
    pieceCapacity_ = 0;
    pieceLength_ = 0;
    pieceAt_ = 0;
    passed_ = 0;
    ended_ = false;
    atEnd_ = false;
}

void AttachmentData::readPiece(std::size_t size) {
    if (pieceCapacity_ < size) {
        piece_ = std::make_unique_for_overwrite<char[]>(size);
        pieceCapacity_ = size;
    }
    pieceAt_ = 0;
    pieceLength_ = 0;
    pieceLength_ = stream_->read(piece_.get(), size);
    ended_ = pieceLength_ == 0;
}

void AttachmentData::fill() {
    try {
        if (!attachment_)
            attachment_ = reopen_();
        if (!stream_)
            stream_ = attachment_->openData();
        readPiece(pieceSize);
    } catch (const Failure &failure) {
        ended_ = true;
        context_.problems.push_back({part_, "its data cannot be read after byte " +
                                                std::to_string(passed_) +
                                                ", where the part ends: " + failure.description()});
    } catch (...) {
        ended_ = true;
        if (!context_.unexpected)
            context_.unexpected = std::current_exception();
    }
}

ssize_t AttachmentData::read(char *buffer, std::size_t size) {
    if (pieceAt_ == pieceLength_ && !ended_)
        fill();
    const std::size_t count = std::min(size, pieceLength_ - pieceAt_);
    if (count > 0)
        std::memcpy(buffer, piece_.get() + pieceAt_, count);
    pieceAt_ += count;
    passed_ += count;
    atEnd_ = count == 0;
    return static_cast<ssize_t>(count);
}

int AttachmentData::reset() {
    if (passed_ > 0)
        letGo(); // the part is written
    return 0;
}

} // namespace qb::mime
