#include "cli/express_message.h"

#include "cli/message_names.h"
#include "cli/mime_fields.h"
#include "export/output_names.h"
#include "express/eml_headers.h"
#include "mime/message_text.h"

namespace qb::cli {

ExpressMessage::ExpressMessage(std::string bytes, std::uint64_t number, const std::string &place)
    : bytes_(std::move(bytes)), place_(place), number_(number),
      subject_(express::GetHeaderValue(bytes_, "Subject")) {}

std::string ExpressMessage::where() {
    return place_ + ": message " + std::to_string(number_) +
           (subject_.empty() ? "" : " \"" + subject_ + "\"");
}

std::string ExpressMessage::stem() {
    return MessageStem(MailDateTime(express::GetHeaderValue(bytes_, "Date")), subject_);
}

std::string ExpressMessage::text() {
    const exporting::ExpressRecordFields fields{express::GetHeaderValue(bytes_, "From"),
                                                express::GetHeaderValue(bytes_, "To"), subject_,
                                                express::GetHeaderValue(bytes_, "Date")};
    return exporting::ExpressRecord(fields, ReadMessageText(bytes_).text);
}

void ExpressMessage::writeEml(ByteSink &out, std::vector<PartProblem> &) {
    out.write(bytes_);
}

std::optional<std::chrono::sys_seconds> ExpressMessage::time() {
    return MailMoment(express::GetHeaderValue(bytes_, "Date"));
}

std::string ExpressMessage::senderAddress() {
    return FirstAddress(express::GetHeaderValue(bytes_, "From"));
}

void ExpressMessage::saveAttachments(AttachmentSaver &saver) {
    int count = 0;
    ForEachAttachment(bytes_, [&](const std::string &name, std::string_view bytes) {
        ++count;
        saver.save(name.empty() ? "Attachment " + std::to_string(count) : name,
                   [&](ByteSink &sink) { sink.write(bytes); });
    });
}

} // namespace qb::cli
