// The message model over the English sample store: every part a later export needs.
#include "failure/failure.h"
#include "mail/message.h"
#include "pst/pff_mail_store.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using mail::AttachmentKind;
using Strings = std::vector<std::string>;

/// The bytes of a stream, read in small pieces.
std::string ReadAll(mail::ByteStream &stream) {
    std::string bytes;
    char piece[1000];
    while (const std::size_t read = stream.read(piece, sizeof piece))
        bytes.append(piece, read);
    return bytes;
}

/// The messages of the English sample store's Inbox, through the object model.
class EnglishInbox : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string samples = test::SamplesFolder();
        if (samples.empty())
            GTEST_SKIP() << "the sample stores (../shared/samples) are not there";
        mapi->AddStore(samples + "/english-store.pst");
        inbox = mapi->folders()->GetLast()->folders()->item(2);
    }

    /// Message position (from 1) of the Inbox.
    std::shared_ptr<mail::Message> message(int position) {
        return inbox->items()->item(position)->message();
    }

    test::TempFolder emptyProfile;
    PffMailStoreLayer layer{emptyProfile.path()};
    std::shared_ptr<outlook::Namespace> mapi = layer.createApplication()->GetNamespace("MAPI");
    std::shared_ptr<outlook::Folder> inbox;
};

TEST_F(EnglishInbox, MessageKnowsItsPlaceItsPeopleAndItsInternetHeaders) {
    const auto first = message(1);
    EXPECT_EQ(first->storeName(), "Outlook");
    EXPECT_EQ(first->folderPath(), Strings{"Inbox"});
    EXPECT_EQ(first->messageClass(), "IPM.Note");
    EXPECT_EQ(first->subject(), "Multiple attachments");
    EXPECT_EQ(first->isRead(), true);
    EXPECT_EQ(message(5)->isRead(), false);
    EXPECT_EQ(first->messageId(), "<003c01cc306e$17006760$45013620$@razzaq@xp.local>");
    EXPECT_EQ(first->inReplyTo(), std::nullopt);
    const auto headers = first->transportHeaders();
    ASSERT_TRUE(headers);
    EXPECT_NE(headers->find("Message-ID: <003c01cc306e$17006760$45013620$@razzaq@xp.local>"),
              std::string::npos);
    EXPECT_EQ(first->senderName(), "Saqib Razzaq");
    EXPECT_EQ(first->senderAddressType(), "SMTP");
    EXPECT_EQ(first->recipients(),
              (std::vector<mail::Recipient>{{mail::RecipientKind::To, "saqib.razzaq@xp.local",
                                             "saqib.razzaq@xp.local", "SMTP", std::nullopt}}));
    ASSERT_TRUE(first->deliveryTime() && first->submitTime());
    EXPECT_LE(*first->submitTime(), *first->deliveryTime());
    EXPECT_EQ(first->plainBody()->size(), 51u);
    EXPECT_EQ(first->htmlBody()->codepage, 20127);
}

TEST_F(EnglishInbox, AttachmentsGiveTheirNamesTypesAndDataAPieceAtATime) {
    const auto first = message(1);
    ASSERT_EQ(first->attachmentCount(), 3);
    const struct {
        const char *longName;
        const char *shortName;
        const char *mimeType;
        std::uint64_t size;
    } expected[] = {{"text file.txt", "textfile.txt", "text/plain", 29},
                    {"Sunset.jpg", "Sunset.jpg", "image/jpeg", 71189},
                    {"Blue hills.jpg", "BLUEHI~1.JPG", "image/jpeg", 28521}};
    for (int index = 1; index <= 3; ++index) {
        const auto &want = expected[index - 1];
        SCOPED_TRACE(want.longName);
        const auto attachment = first->attachment(index);
        EXPECT_EQ(attachment->kind(), AttachmentKind::ByValue);
        EXPECT_EQ(attachment->longFileName(), want.longName);
        EXPECT_EQ(attachment->shortFileName(), want.shortName);
        EXPECT_EQ(attachment->mimeType(), want.mimeType);
        EXPECT_EQ(attachment->size(), want.size);
        // Two streams of one attachment read on their own.
        const auto stream = attachment->openData();
        const auto other = attachment->openData();
        char start[4];
        ASSERT_EQ(other->read(start, sizeof start), sizeof start);
        const std::string data = ReadAll(*stream);
        EXPECT_EQ(data.size(), want.size);
        EXPECT_EQ(data.substr(0, 4), std::string(start, 4));
    }
    EXPECT_THROW(first->attachment(4), Failure);

    // The HTML body's pictures are found by their Content-ID.
    EXPECT_EQ(message(2)->attachment(1)->contentId(), "image001.png@01CC3097.BF0BAC70");
}

TEST_F(EnglishInbox, EmbeddedMessagesAreMessagesOfTheirOwn) {
    const auto holder = message(3);
    EXPECT_EQ(holder->subject(), "this message contains embedded MSG");
    ASSERT_EQ(holder->attachmentCount(), 2);
    const auto attachment = holder->attachment(1);
    EXPECT_EQ(attachment->kind(), AttachmentKind::EmbeddedMessage);
    EXPECT_EQ(attachment->displayName(), "message 1 (2.23 KB)");
    EXPECT_THROW(attachment->openData(), Failure);
    const auto embedded = attachment->embeddedMessage();
    EXPECT_EQ(embedded->subject(), "message 1");
    EXPECT_EQ(embedded->folderPath(), Strings{"Inbox"});
    EXPECT_EQ(embedded->messageId(), message(6)->messageId());
    EXPECT_THROW(embedded->entryId(), Failure); // nothing could find it again by one
    EXPECT_THROW(message(1)->attachment(1)->embeddedMessage(), Failure);
}

TEST_F(EnglishInbox, MessageFoundByItsEntryIdDoesNotMakeUpAFolder) {
    const auto again = mapi->GetItemFromID(message(1)->entryId())->message();
    EXPECT_EQ(again->subject(), "Multiple attachments");
    try {
        again->folderPath();
        FAIL() << "a folder path without the folder";
    } catch (const Failure &failure) {
        EXPECT_NE(failure.description().find("not reached through its folder"), std::string::npos);
    }
}

} // namespace
} // namespace qb
