// The message model over the made store's Inbox: every part a later export needs.
#include "failure/failure.h"
#include "mail/message.h"
#include "pst/pff_mail_store.h"
#include "support/made_store.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using mail::AttachmentKind;
using Strings = std::vector<std::string>;

/// The recipients as lines "kind|name|address|type|SMTP address", which a failure shows as text.
Strings RecipientLines(mail::Message &message) {
    Strings lines;
    for (const mail::Recipient &recipient : message.recipients())
        lines.push_back(std::to_string(static_cast<int>(recipient.kind)) + "|" + recipient.name +
                        "|" + recipient.address + "|" + recipient.addressType + "|" +
                        recipient.smtpAddress.value_or(""));
    return lines;
}

/// The messages of the made store's Inbox, through the object model.
class MadeInbox : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteMadeStore(folder / "made.pst");
        mapi->AddStore(folder / "made.pst");
        inbox = mapi->folders()->GetLast()->folders()->item(2);
    }

    /// Message position (from 1) of the Inbox.
    std::shared_ptr<mail::Message> message(int position) {
        return inbox->items()->item(position)->message();
    }

    test::TempFolder folder;
    PffMailStoreLayer layer{folder / "empty profile"};
    std::shared_ptr<outlook::Namespace> mapi = layer.createApplication()->GetNamespace("MAPI");
    std::shared_ptr<outlook::Folder> inbox;
};

TEST_F(MadeInbox, MessageKnowsItsPlaceItsPeopleAndItsInternetHeaders) {
    const auto first = message(1);
    EXPECT_EQ(first->storeName(), "Beispiel-Postfach ✉");
    EXPECT_EQ(first->folderPath(), Strings{"Inbox"});
    EXPECT_EQ(first->messageClass(), "IPM.Note");
    EXPECT_EQ(first->subject(), "Quartalsbericht – Übersicht für Jürgen #0");
    EXPECT_EQ(first->isRead(), true);
    EXPECT_EQ(message(2)->isRead(), false);
    EXPECT_EQ(first->messageId(), "<0.1@mail.example.org>");
    EXPECT_EQ(first->inReplyTo(), std::nullopt);
    EXPECT_EQ(message(6)->inReplyTo(), "<4.1@mail.example.org>");
    const auto headers = first->transportHeaders();
    ASSERT_TRUE(headers);
    EXPECT_NE(headers->find("Message-ID: <0.1@mail.example.org>\r\n"), std::string::npos);
    EXPECT_EQ(first->senderName(), "Zoë Ångström");
    EXPECT_EQ(first->senderAddressType(), "SMTP");
    EXPECT_EQ(message(2)->senderSmtpAddress(), "jose.garcia@example.com");
    const std::string exchange =
        "/O=EXAMPLE ORG/OU=EXCHANGE ADMINISTRATIVE GROUP (FYDIBOHF23SPDLT)/CN=RECIPIENTS/CN=";
    EXPECT_EQ(RecipientLines(*first),
              (Strings{"0|José García|" + exchange + "JOSE.GARCIA|EX|jose.garcia@example.com",
                       "0|Łukasz Żółkiewski|lukasz.z@example.pl|SMTP|",
                       "1|Søren Kierkegård|" + exchange + "SOREN.KIERKEGARD|EX|soren@example.dk",
                       "2|Ирина Петрова|irina.petrova@example.ru|SMTP|"}));
    EXPECT_EQ(first->displayTo(), "José García; Łukasz Żółkiewski");
    EXPECT_EQ(first->displayCc(), "Søren Kierkegård");
    ASSERT_TRUE(first->deliveryTime() && first->submitTime());
    EXPECT_EQ(first->deliveryTime()->time_since_epoch().count(), 1704067200); // 2024-01-01
    EXPECT_EQ(*first->deliveryTime() - *first->submitTime(), std::chrono::seconds(90));
    EXPECT_EQ(first->plainBody(), "Absatz 1 der Nachricht 0: Grüße aus Köln, ½ Tasse Tee, naïve "
                                  "café. Привет, 世界!\r\n");
    EXPECT_EQ(message(2)->htmlBody()->codepage, 65001);
    EXPECT_TRUE(message(3)->rtfBody()->starts_with("{\\rtf1\\ansi\\ansicpg1252"));
}

TEST_F(MadeInbox, AttachmentsGiveTheirNamesTypesAndDataAPieceAtATime) {
    const auto holder = message(4);
    ASSERT_EQ(holder->attachmentCount(), 5);
    // Message 3 of the store maker: a file, a picture, an attached message, an OLE object and
    // a reference to a file elsewhere.
    const std::string file = pstmaker::GeneratedBytes(1 * 1000003 + 3, 0, 3000);
    const struct {
        AttachmentKind kind;
        const char *longName;
        const char *shortName;
        const char *mimeType;
        std::string data;
    } expected[] = {
        {AttachmentKind::ByValue, "Übersicht 3 – Bericht.pdf", "UBERSI~1.PDF", "application/pdf",
         file},
        {AttachmentKind::ByValue, "Grafik ü 3.png", "GRAFIK~1.PNG", "image/png",
         pstmaker::GeneratedBytes(3, 0, 700)},
        {AttachmentKind::EmbeddedMessage, nullptr, nullptr, nullptr, ""},
        {AttachmentKind::OleObject, nullptr, nullptr, nullptr,
         pstmaker::GeneratedBytes(4, 0, 1500)},
        {AttachmentKind::Reference, "Protokoll Ä.docx", nullptr, nullptr, ""},
    };
    for (int index = 1; index <= 5; ++index) {
        const auto &want = expected[index - 1];
        SCOPED_TRACE("attachment " + std::to_string(index));
        const auto attachment = holder->attachment(index);
        EXPECT_EQ(attachment->kind(), want.kind);
        const auto text = [](const char *value) {
            return value ? std::optional<std::string>(value) : std::nullopt;
        };
        EXPECT_EQ(attachment->longFileName(), text(want.longName));
        EXPECT_EQ(attachment->shortFileName(), text(want.shortName));
        EXPECT_EQ(attachment->mimeType(), text(want.mimeType));
        if (want.data.empty())
            continue;
        EXPECT_EQ(attachment->size(), want.data.size());
        // Two streams of one attachment read on their own.
        const auto stream = attachment->openData();
        const auto other = attachment->openData();
        char start[4];
        ASSERT_EQ(other->read(start, sizeof start), sizeof start);
        EXPECT_TRUE(test::ReadStream(*stream) == want.data);
        EXPECT_EQ(std::string(start, 4), want.data.substr(0, 4));
    }
    EXPECT_THROW(holder->attachment(6), Failure);
    EXPECT_THROW(holder->attachment(5)->openData(), Failure);

    // The HTML body's pictures are found by their Content-ID.
    EXPECT_EQ(holder->attachment(2)->contentId(), "bild3@example.org");
}

TEST_F(MadeInbox, EmbeddedMessagesAreMessagesOfTheirOwn) {
    const auto attachment = message(4)->attachment(3);
    EXPECT_EQ(attachment->displayName(), "Weitergeleitete Nachricht");
    EXPECT_THROW(attachment->openData(), Failure);
    const auto embedded = attachment->embeddedMessage();
    EXPECT_EQ(embedded->subject(), "Weitergeleitet (Ebene 1) – Nachricht 3");
    EXPECT_EQ(embedded->folderPath(), Strings{"Inbox"});
    EXPECT_EQ(embedded->senderName(), "Søren Kierkegård");
    EXPECT_THROW(embedded->entryId(), Failure); // nothing could find it again by one

    // Attached messages nested three deep, the last holding a file.
    auto level = embedded;
    for (int depth = 2; depth <= 3; ++depth) {
        level = level->attachment(1)->embeddedMessage();
        EXPECT_EQ(level->subject(),
                  "Weitergeleitet (Ebene " + std::to_string(depth) + ") – Nachricht 3");
    }
    const auto bottom = level->attachment(1);
    EXPECT_EQ(bottom->longFileName(), "tiefste Datei ß.txt");
    EXPECT_EQ(test::ReadStream(*bottom->openData()), "ganz unten\r\n");
    EXPECT_THROW(bottom->embeddedMessage(), Failure);
}

TEST_F(MadeInbox, MessageFoundByItsEntryIdDoesNotMakeUpAFolder) {
    const auto again = mapi->GetItemFromID(message(1)->entryId())->message();
    EXPECT_EQ(again->subject(), "Quartalsbericht – Übersicht für Jürgen #0");
    try {
        again->folderPath();
        FAIL() << "a folder path without the folder";
    } catch (const Failure &failure) {
        EXPECT_NE(failure.description().find("not reached through its folder"), std::string::npos);
    }
}

} // namespace
} // namespace qb
