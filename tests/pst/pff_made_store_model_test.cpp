// The message model over stores the PST store maker writes: every field the .eml export needs
// reads back as the maker wrote it.
#include "failure/failure.h"
#include "mail/message.h"
#include "pst/pff_mail_store.h"
#include "support/made_store.h"
#include "support/pst/pst_sample_store.h"
#include "support/pst/pst_store_writer.h"
#include "support/sample_store_suite.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <sstream>

namespace qb::mail {

/// Shows a recipient readably when an expectation fails.
void PrintTo(const Recipient &recipient, std::ostream *out) {
    *out << "{" << static_cast<int>(recipient.kind) << ", " << recipient.name << ", "
         << recipient.address << ", " << recipient.addressType << ", "
         << (recipient.smtpAddress ? *recipient.smtpAddress : "(none)") << "}";
}

} // namespace qb::mail

namespace qb {
namespace {

using mail::AttachmentKind;
using pstmaker::SampleMailMessage;

std::optional<std::string> NonEmpty(const std::string &text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

mail::RecipientKind KindOf(pstmaker::Recipient::Kind kind) {
    switch (kind) {
    case pstmaker::Recipient::Kind::to:
        return mail::RecipientKind::To;
    case pstmaker::Recipient::Kind::cc:
        return mail::RecipientKind::Cc;
    case pstmaker::Recipient::Kind::bcc:
        return mail::RecipientKind::Bcc;
    }
    return mail::RecipientKind::Unknown;
}

constexpr pstmaker::SampleStoreOptions options{40, 11, 0};
using MadeStoreModel = test::SampleStoreSuite<options>;

TEST_F(MadeStoreModel, HeaderFieldsPeopleAndBodiesReadBackAsWritten) {
    // Plain, HTML as bytes, RTF, plain with attachments, HTML as text, RTF beside plain, a reply.
    for (const std::uint64_t index : {0, 1, 2, 3, 4, 5}) {
        SCOPED_TRACE("message " + std::to_string(index));
        const pstmaker::Message written = SampleMailMessage(options, index);
        const auto read = message(index);
        EXPECT_EQ(read->subject(), written.subject);
        EXPECT_EQ(read->senderName(), written.senderName);
        EXPECT_EQ(read->senderAddressType(), written.senderAddressType);
        EXPECT_EQ(read->senderAddress(), written.senderAddress);
        EXPECT_EQ(read->senderSmtpAddress(), NonEmpty(written.senderSmtpAddress));
        std::vector<mail::Recipient> recipients;
        for (const pstmaker::Recipient &recipient : written.recipients)
            recipients.push_back({KindOf(recipient.kind), recipient.name, recipient.address,
                                  recipient.addressType, NonEmpty(recipient.smtpAddress)});
        EXPECT_EQ(read->recipients(), recipients);
        EXPECT_EQ(read->messageId(), NonEmpty(written.internetMessageId));
        EXPECT_EQ(read->inReplyTo(), NonEmpty(written.inReplyTo));
        EXPECT_EQ(read->references(), NonEmpty(written.references));
        EXPECT_EQ(read->transportHeaders(), NonEmpty(written.transportHeaders));
        EXPECT_EQ(read->plainBody(), written.plainBody);
        const auto html = read->htmlBody();
        EXPECT_EQ(html ? std::optional(html->bytes) : std::nullopt, written.htmlBody)
            << (written.htmlAsText ? "HTML stored as text" : "HTML stored as bytes");
        EXPECT_EQ(read->rtfBody(), written.rtfBody);
        ASSERT_TRUE(read->submitTime());
        EXPECT_EQ(read->submitTime()->time_since_epoch().count(), written.submitTime);
    }
}

TEST_F(MadeStoreModel, AttachmentsOfEveryKindReadBackAsWritten) {
    const pstmaker::Message written = SampleMailMessage(options, 3);
    const auto read = message(3);
    ASSERT_EQ(read->attachmentCount(), static_cast<int>(written.attachments.size()));
    const std::map<pstmaker::Attachment::Method, AttachmentKind> kinds = {
        {pstmaker::Attachment::Method::byValue, AttachmentKind::ByValue},
        {pstmaker::Attachment::Method::embeddedMessage, AttachmentKind::EmbeddedMessage},
        {pstmaker::Attachment::Method::oleObject, AttachmentKind::OleObject},
        {pstmaker::Attachment::Method::byReference, AttachmentKind::Reference}};
    for (int index = 1; index <= read->attachmentCount(); ++index) {
        SCOPED_TRACE("attachment " + std::to_string(index));
        const pstmaker::Attachment &expected = written.attachments[index - 1];
        const auto attachment = read->attachment(index);
        EXPECT_EQ(attachment->kind(), kinds.at(expected.method));
        EXPECT_EQ(attachment->longFileName(), NonEmpty(expected.longFileName));
        EXPECT_EQ(attachment->shortFileName(), NonEmpty(expected.shortFileName));
        EXPECT_EQ(attachment->displayName(), NonEmpty(expected.displayName));
        EXPECT_EQ(attachment->mimeType(), NonEmpty(expected.mimeType));
        EXPECT_EQ(attachment->contentId(), NonEmpty(expected.contentId));
        const std::string data =
            expected.generatedSize == 0
                ? expected.data
                : pstmaker::GeneratedBytes(expected.generatorSeed, 0, expected.generatedSize);
        switch (expected.method) {
        case pstmaker::Attachment::Method::byValue:
        case pstmaker::Attachment::Method::oleObject:
            EXPECT_EQ(attachment->size(), data.size());
            EXPECT_EQ(test::ReadStream(*attachment->openData()), data);
            break;
        case pstmaker::Attachment::Method::embeddedMessage:
        case pstmaker::Attachment::Method::byReference:
            EXPECT_EQ(attachment->size(), 0u);
            EXPECT_THROW(attachment->openData(), Failure);
            break;
        }
    }
}

TEST_F(MadeStoreModel, AttachedMessagesNestAsDeepAsTheyWereWritten) {
    const pstmaker::Message written = SampleMailMessage(options, 3);
    std::shared_ptr<mail::Message> level = message(3)->attachment(3)->embeddedMessage();
    for (const pstmaker::Message *expected = written.attachments[2].message.get(); expected;) {
        SCOPED_TRACE(expected->subject);
        EXPECT_EQ(level->subject(), expected->subject);
        EXPECT_EQ(level->plainBody(), expected->plainBody);
        EXPECT_EQ(level->folderPath(), std::vector<std::string>{"Inbox"});
        const auto inner = level->attachment(1);
        const pstmaker::Attachment &innerWritten = expected->attachments.front();
        if (!innerWritten.message) {
            EXPECT_EQ(test::ReadStream(*inner->openData()), innerWritten.data);
            break;
        }
        level = inner->embeddedMessage();
        expected = innerWritten.message.get();
    }
}

} // namespace
} // namespace qb
