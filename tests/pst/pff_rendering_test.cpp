// The plain-text rendering that SaveAs writes.
#include "failure/failure.h"
#include "mail/message_rendering.h"
#include "platform/linux/posix_file_system.h"
#include "pst/pff_mail_store.h"
#include "support/made_store.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qb {
namespace {

TEST(PffRendering, WritesHeaderLinesAnEmptyLineAndTheBody) {
    mail::MessageText message;
    message.from = mail::FormatSender("Ann Smith", "ann@example.com");
    message.sent = "Sunday, March 3, 2024 2:05 PM";
    message.to = "Bob; Carl";
    message.subject = "Plans";
    message.attachments = {"a.pdf", "b.png"};
    message.body = "line one\nline two\r\nline three\rend";
    EXPECT_EQ(mail::RenderMessageText(message), "From:\tAnn Smith <ann@example.com>\r\n"
                                                "Sent:\tSunday, March 3, 2024 2:05 PM\r\n"
                                                "To:\tBob; Carl\r\n"
                                                "Cc:\t\r\n"
                                                "Subject:\tPlans\r\n"
                                                "Attachments:\ta.pdf; b.png\r\n"
                                                "\r\n"
                                                "line one\r\nline two\r\nline three\r\nend\r\n");
}

TEST(PffRendering, LeavesOutAttachmentsWhenThereAreNoneAndKeepsHeadersOnOneLine) {
    mail::MessageText message;
    message.from = mail::FormatSender("Ann", "");
    message.subject = "two\r\nlines";
    EXPECT_EQ(mail::RenderMessageText(message),
              "From:\tAnn\r\nSent:\t\r\nTo:\t\r\nCc:\t\r\nSubject:\ttwo  lines\r\n\r\n");
}

TEST(PffRendering, SenderShowsTheAddressOnlyWhenKnown) {
    EXPECT_EQ(mail::FormatSender("Ann", "ann@example.com"), "Ann <ann@example.com>");
    EXPECT_EQ(mail::FormatSender("", "ann@example.com"), "ann@example.com");
    EXPECT_EQ(mail::FormatSender("ann@example.com", "ann@example.com"), "ann@example.com");
    EXPECT_EQ(mail::FormatSender("Ann", ""), "Ann");
}

TEST(PffRendering, WriteFailuresCarryTheSystemsDescription) {
    test::TempFolder folder;
    try {
        WriteFileSafely(folder / "missing/out.txt", "x");
        FAIL() << "writing into a missing folder succeeded";
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.number(), error_number::pathNotFound);
        EXPECT_NE(failure.description().find("out.txt"), std::string::npos);
        EXPECT_NE(failure.description().find("No such file or directory"), std::string::npos);
    }
    WriteFileSafely(folder / "out.txt", "first");
    WriteFileSafely(folder / "out.txt", "2");
    EXPECT_EQ(folder.read("out.txt"), "2");
}

TEST(PffRendering, SaveAsWritesAMessageOfTheMadeStoreAsText) {
    test::UtcLocalTime utc;
    test::TempFolder folder;
    test::WriteMadeStore(folder / "made.pst");
    PffMailStoreLayer layer(folder / "no profile");
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    mapi->AddStore(folder / "made.pst");
    auto inbox = mapi->folders()->GetLast()->folders()->item(2);
    auto message = inbox->items()->item(4); // an Exchange sender, a plain body, attachments

    message->SaveAs(folder / "message.txt", outlook::olTXT);
    const std::string text = folder.read("message.txt");
    const std::string paragraph = ": Grüße aus Köln, ½ Tasse Tee, naïve café. Привет, 世界!\r\n";
    EXPECT_EQ(text.substr(0, text.find("Absatz 2 ")),
              "From:\tSøren Kierkegård <soren@example.dk>\r\n"
              "Sent:\tMonday, January 1, 2024 3:44 AM\r\n"
              "To:\tИрина Петрова\r\n"
              "Cc:\tZoë Ångström\r\n"
              "Subject:\t会議の議事録 #3\r\n"
              "Attachments:\tÜbersicht 3 – Bericht.pdf; Grafik ü 3.png; Weitergeleitete Nachricht; "
              "Zeichnung Öl; Protokoll Ä.docx\r\n"
              "\r\n"
              "Absatz 1 der Nachricht 3" +
                  paragraph);
    EXPECT_TRUE(text.ends_with("Absatz 22 der Nachricht 3" + paragraph)) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
              std::count(text.begin(), text.end(), '\r'));

    EXPECT_THROW(message->SaveAs(folder / "message.msg", 3), Failure);
    EXPECT_FALSE(std::filesystem::exists(folder / "message.msg"));
    EXPECT_THROW(message->SaveAs(folder / "missing/message.txt", outlook::olTXT), Failure);
}

} // namespace
} // namespace qb
