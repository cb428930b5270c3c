#include "cli/outlook_message.h"

#include "cli/message_names.h"
#include "failure/caught_failure.h"
#include "mail/message_reading.h"
#include "mail/message_rendering.h"
#include "mime/eml_builder.h"

#include <vector>

namespace qb::cli {
namespace {

constexpr std::size_t streamPiece = 256 * 1024;

void CopyData(mail::Attachment &attachment, ByteSink &sink) {
    const auto stream = attachment.openData();
    std::vector<char> piece(streamPiece);
    while (const std::size_t read = stream->read(piece.data(), piece.size()))
        sink.write(std::string_view(piece.data(), read));
}

} // namespace

void WriteStoreMessage(mail::Message &message, ByteSink &out, std::vector<PartProblem> &problems) {
    std::vector<mime::EmlProblem> found;
    mime::WriteEml(message, out, found);
    for (mime::EmlProblem &problem : found)
        problems.push_back({std::move(problem.part), std::move(problem.why)});
}

std::string OutlookMessage::stem() {
    return MessageStem(mail::ReceivedTime(message_), message_.subject());
}

std::string OutlookMessage::text() {
    return mail::RenderedText(message_);
}

void OutlookMessage::writeEml(ByteSink &out, std::vector<PartProblem> &problems) {
    WriteStoreMessage(message_, out, problems);
}

std::optional<std::chrono::sys_seconds> OutlookMessage::time() {
    if (const auto submitted = message_.submitTime())
        return submitted;
    if (const auto delivered = message_.deliveryTime())
        return delivered;
    return message_.creationTime();
}

std::string OutlookMessage::senderAddress() {
    return mail::SmtpSenderAddress(message_);
}

bool OutlookMessage::isRead() {
    return message_.isRead().value_or(false);
}

void OutlookMessage::saveAttachments(AttachmentSaver &saver) {
    std::vector<std::string> names;
    if (const auto failure = CaughtFailure([&] { names = mail::AttachmentNames(message_); }))
        return saver.notSaved("the attachments", failure->description());
    for (std::size_t index = 0; index < names.size(); ++index) {
        const auto failure = CaughtFailure([&] {
            const auto attachment = message_.attachment(static_cast<int>(index) + 1);
            saveAttachment(saver, *attachment, names[index]);
        });
        if (failure)
            saver.notSaved(names[index], failure->description());
    }
}

void OutlookMessage::saveAttachment(AttachmentSaver &saver, mail::Attachment &attachment,
                                    const std::string &name) {
    switch (attachment.kind()) {
    case mail::AttachmentKind::ByValue:
        saver.save(name, [&](ByteSink &sink) { CopyData(attachment, sink); });
        break;
    case mail::AttachmentKind::EmbeddedMessage: {
        const auto embedded = attachment.embeddedMessage();
        std::vector<PartProblem> problems;
        saver.save(name.ends_with(".eml") ? name : name + ".eml",
                   [&](ByteSink &sink) { WriteStoreMessage(*embedded, sink, problems); });
        for (const PartProblem &problem : problems)
            saver.notSaved(name + ": " + problem.part, problem.why);
        break;
    }
    case mail::AttachmentKind::OleObject:
        saver.notSaved(name, "an OLE object, which only Outlook can show; not saved");
        break;
    case mail::AttachmentKind::Reference:
        saver.notSaved(name, "a reference to a file kept elsewhere, not the file; not saved");
        break;
    }
}

} // namespace qb::cli
