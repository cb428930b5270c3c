// The plain-text rendering that SaveAs writes.
#include "failure/failure.h"
#include "mail/message_rendering.h"
#include "platform/linux/posix_file_system.h"
#include "pst/pff_mail_store.h"
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

TEST(PffRendering, SaveAsWritesTheSampleMessageAsText) {
    const std::string samples = test::SamplesFolder();
    if (samples.empty())
        GTEST_SKIP() << "the sample stores (../shared/samples) are not there";
    test::TempFolder folder;
    PffMailStoreLayer layer(folder / "no profile");
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    mapi->AddStore(samples + "/english-store.pst");
    auto inbox = mapi->folders()->GetLast()->folders()->item(2);
    auto message = inbox->items()->item(1);

    message->SaveAs(folder / "message.txt", outlook::olTXT);
    const std::string text = folder.read("message.txt");
    EXPECT_EQ(text.rfind("From:\tSaqib Razzaq <saqib.razzaq@xp.local>\r\nSent:\t", 0), 0u);
    EXPECT_NE(text.find("\r\nSubject:\tMultiple attachments\r\nAttachments:\t"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
              std::count(text.begin(), text.end(), '\r'));
    const auto headerEnd = text.find("\r\n\r\n");
    ASSERT_NE(headerEnd, std::string::npos);
    const std::string attachments = text.substr(text.find("Attachments:\t"));
    EXPECT_EQ(std::count(attachments.begin(), attachments.begin() + attachments.find('\r'), ';'),
              2);

    EXPECT_THROW(message->SaveAs(folder / "message.msg", 3), Failure);
    EXPECT_FALSE(std::filesystem::exists(folder / "message.msg"));
    EXPECT_THROW(message->SaveAs(folder / "missing/message.txt", outlook::olTXT), Failure);
}

} // namespace
} // namespace qb
