#include "support/pst/pst_message_writer.h"

#include "support/pst/pst_compressed_rtf.h"
#include "support/pst/pst_property_context.h"
#include "support/pst/pst_property_tags.h"

namespace qb::pstmaker {
namespace {

constexpr NodeId recipientTableNode = 0x692;
constexpr NodeId attachmentTableNode = 0x671;
constexpr std::uint32_t messageFlagRead = 0x01;
constexpr std::uint32_t messageFlagHasAttachments = 0x10;
constexpr std::uint32_t mailUserObject = 6;
constexpr std::uint32_t noRenderingPosition = 0xFFFFFFFF;
constexpr std::size_t generatorChunk = 1 << 16;

/// Sets a text property unless the text is empty.
void SetText(PropertyContextBuilder &properties, std::uint32_t tag, const std::string &text) {
    if (!text.empty())
        properties.set(tag, UnicodeValue(text));
}

void SetTime(PropertyContextBuilder &properties, std::uint32_t tag, std::int64_t unixSeconds) {
    if (unixSeconds != 0)
        properties.set(tag, TimeValue(unixSeconds));
}

/// The subject's prefix: everything up to and including the first ": " within four letters.
std::string SubjectPrefix(const std::string &subject) {
    const auto colon = subject.find(": ");
    return colon != std::string::npos && colon <= 4 ? subject.substr(0, colon + 2) : "";
}

std::string DisplayList(const Message &message, Recipient::Kind kind) {
    std::string list;
    for (const Recipient &recipient : message.recipients)
        if (recipient.kind == kind)
            list += (list.empty() ? "" : "; ") + recipient.name;
    return list;
}

} // namespace

std::uint32_t MessageFlagsOf(const Message &message) {
    return (message.read ? messageFlagRead : 0) |
           (message.attachments.empty() ? 0 : messageFlagHasAttachments);
}

MessageWriter::MessageWriter(NodeDatabase &database, NamedPropertyMap &names)
    : database_(database), names_(names) {}

NodeContent MessageWriter::write(const Message &message) {
    SubnodeList subnodes;
    PropertyContextBuilder properties;
    setProperties(properties, message);
    writeRecipients(message, subnodes);
    writeAttachments(message, subnodes);
    std::uint64_t size = 0;
    const BlockId data = properties.write(database_, subnodes, &size);
    return {data, subnodes.write(database_), size};
}

void MessageWriter::setProperties(PropertyContextBuilder &properties, const Message &message) {
    properties.set(tag::messageClass, UnicodeValue(message.messageClass));
    const std::string prefix = SubjectPrefix(message.subject);
    if (message.subjectMarker) {
        std::string marked = "\x01";
        marked += static_cast<char>(prefix.size() + 1);
        properties.set(tag::subject, UnicodeValue(marked + message.subject));
    } else {
        SetText(properties, tag::subject, message.subject);
    }
    SetText(properties, tag::subjectPrefix, prefix);
    SetText(properties, tag::normalizedSubject, message.subject.substr(prefix.size()));
    SetText(properties, tag::conversationTopic, message.subject.substr(prefix.size()));
    SetText(properties, tag::senderName, message.senderName);
    SetText(properties, tag::senderEmailAddress, message.senderAddress);
    if (!message.senderAddress.empty())
        SetText(properties, tag::senderAddressType, message.senderAddressType);
    SetText(properties, tag::senderSmtpAddress, message.senderSmtpAddress);
    SetText(properties, tag::sentRepresentingName, message.senderName);
    SetText(properties, tag::sentRepresentingEmailAddress, message.senderAddress);
    if (!message.senderAddress.empty())
        SetText(properties, tag::sentRepresentingAddressType, message.senderAddressType);
    SetText(properties, tag::sentRepresentingSmtpAddress, message.senderSmtpAddress);
    SetText(properties, tag::displayTo, DisplayList(message, Recipient::Kind::to));
    SetText(properties, tag::displayCc, DisplayList(message, Recipient::Kind::cc));
    SetText(properties, tag::displayBcc, DisplayList(message, Recipient::Kind::bcc));
    SetTime(properties, tag::messageDeliveryTime, message.deliveryTime);
    SetTime(properties, tag::clientSubmitTime, message.submitTime);
    SetTime(properties, tag::creationTime, message.deliveryTime);
    SetTime(properties, tag::lastModificationTime, message.deliveryTime);
    SetText(properties, tag::transportMessageHeaders, message.transportHeaders);
    SetText(properties, tag::internetMessageId, message.internetMessageId);
    SetText(properties, tag::inReplyToId, message.inReplyTo);
    SetText(properties, tag::internetReferences, message.references);
    properties.set(tag::messageFlags, Integer32Value(MessageFlagsOf(message)));
    properties.set(tag::hasAttachments, BooleanValue(!message.attachments.empty()));
    properties.set(tag::importance, Integer32Value(1));
    properties.set(tag::internetCodepage, Integer32Value(message.codepage));
    properties.set(tag::messageCodepage, Integer32Value(message.codepage));
    if (message.plainBody)
        properties.set(tag::body, UnicodeValue(*message.plainBody));
    if (message.htmlBody && message.htmlAsText)
        properties.set(tag::htmlText, UnicodeValue(*message.htmlBody));
    else if (message.htmlBody)
        properties.set(tag::htmlBinary, BytesOf(*message.htmlBody));
    if (message.rtfBody) {
        properties.set(tag::rtfCompressed, CompressRtf(*message.rtfBody));
        properties.set(tag::rtfInSync, BooleanValue(true));
    }
    for (const NamedValue &named : message.namedValues)
        properties.set((static_cast<std::uint32_t>(names_.idOf(named.name)) << 16) | named.type,
                       named.value);
    for (const TaggedValue &tagged : message.taggedValues)
        properties.set(tagged.tag, tagged.value);
}

void MessageWriter::writeRecipients(const Message &message, SubnodeList &subnodes) {
    TableContextBuilder table(database_, {tag::recipientType, tag::responsibility, tag::objectType,
                                          tag::displayName, tag::addressType, tag::emailAddress,
                                          tag::displayType, tag::smtpAddress,
                                          tag::transmittableDisplayName, tag::sendRichInfo});
    std::uint32_t row = 0;
    for (const Recipient &recipient : message.recipients) {
        std::vector<std::pair<std::uint32_t, Bytes>> cells = {
            {tag::recipientType, Integer32Value(static_cast<std::uint32_t>(recipient.kind))},
            {tag::responsibility, BooleanValue(false)},
            {tag::objectType, Integer32Value(mailUserObject)},
            {tag::displayType, Integer32Value(0)},
            {tag::sendRichInfo, BooleanValue(false)},
            {tag::displayName, UnicodeValue(recipient.name)},
            {tag::transmittableDisplayName, UnicodeValue(recipient.name)},
            {tag::addressType, UnicodeValue(recipient.addressType)},
            {tag::emailAddress, UnicodeValue(recipient.address)}};
        if (!recipient.smtpAddress.empty())
            cells.emplace_back(tag::smtpAddress, UnicodeValue(recipient.smtpAddress));
        table.addRow(row++, cells);
    }
    const NodeContent content = table.write();
    subnodes.add(recipientTableNode, content.data, content.subnodes);
}

void MessageWriter::writeAttachments(const Message &message, SubnodeList &subnodes) {
    if (message.attachments.empty())
        return;
    TableContextBuilder table(database_, {tag::attachSize, tag::attachFilename, tag::attachMethod,
                                          tag::renderingPosition});
    for (const Attachment &attachment : message.attachments) {
        const NodeId node = subnodes.nextNode(NodeType::attachment);
        const NodeContent content = writeAttachment(attachment);
        subnodes.add(node, content.data, content.subnodes);
        std::vector<std::pair<std::uint32_t, Bytes>> cells = {
            {tag::attachSize, Integer32Value(static_cast<std::uint32_t>(attachment.generatedSize +
                                                                        attachment.data.size()))},
            {tag::attachMethod, Integer32Value(static_cast<std::uint32_t>(attachment.method))},
            {tag::renderingPosition, Integer32Value(noRenderingPosition)}};
        if (!attachment.shortFileName.empty())
            cells.emplace_back(tag::attachFilename, UnicodeValue(attachment.shortFileName));
        table.addRow(node, cells);
    }
    const NodeContent content = table.write();
    subnodes.add(attachmentTableNode, content.data, content.subnodes);
}

NodeContent MessageWriter::writeAttachment(const Attachment &attachment) {
    SubnodeList subnodes;
    PropertyContextBuilder properties;
    properties.set(tag::attachMethod,
                   Integer32Value(static_cast<std::uint32_t>(attachment.method)));
    properties.set(tag::renderingPosition, Integer32Value(noRenderingPosition));
    properties.set(tag::attachSize, Integer32Value(static_cast<std::uint32_t>(
                                        attachment.generatedSize + attachment.data.size())));
    SetText(properties, tag::attachFilename, attachment.shortFileName);
    SetText(properties, tag::attachLongFilename, attachment.longFileName);
    SetText(properties, tag::displayName, attachment.displayName);
    SetText(properties, tag::attachMimeTag, attachment.mimeType);
    SetText(properties, tag::attachContentId, attachment.contentId);
    SetText(properties, tag::attachPathname, attachment.pathName);
    SetText(properties, tag::attachLongPathname, attachment.pathName);
    const auto dot = attachment.longFileName.rfind('.');
    if (dot != std::string::npos)
        SetText(properties, tag::attachExtension, attachment.longFileName.substr(dot));
    setAttachmentData(properties, attachment, subnodes);
    const BlockId data = properties.write(database_, subnodes);
    return {data, subnodes.write(database_)};
}

void MessageWriter::setAttachmentData(PropertyContextBuilder &properties,
                                      const Attachment &attachment, SubnodeList &subnodes) {
    switch (attachment.method) {
    case Attachment::Method::byReference:
        return;
    case Attachment::Method::embeddedMessage: {
        const NodeContent content = write(*attachment.message);
        const NodeId node = subnodes.nextNode(NodeType::normalMessage);
        subnodes.add(node, content.data, content.subnodes);
        properties.setObject(tag::attachDataObject, node, static_cast<std::uint32_t>(content.size));
        return;
    }
    case Attachment::Method::oleObject: {
        const NodeId node = subnodes.nextValueNode();
        subnodes.add(node, WriteDataTree(database_, BytesOf(attachment.data)), 0);
        properties.setObject(tag::attachDataObject, node,
                             static_cast<std::uint32_t>(attachment.data.size()));
        return;
    }
    case Attachment::Method::byValue:
        break;
    }
    if (attachment.generatedSize == 0) {
        properties.set(tag::attachDataBinary, BytesOf(attachment.data));
        return;
    }
    DataTreeWriter tree(database_);
    for (std::uint64_t offset = 0; offset < attachment.generatedSize; offset += generatorChunk) {
        const auto size = static_cast<std::size_t>(
            std::min<std::uint64_t>(generatorChunk, attachment.generatedSize - offset));
        tree.append(BytesOf(GeneratedBytes(attachment.generatorSeed, offset, size)));
    }
    const NodeId node = subnodes.nextValueNode();
    subnodes.add(node, tree.finish(), 0);
    properties.setSubnodeValue(tag::attachDataBinary, node);
}

} // namespace qb::pstmaker
