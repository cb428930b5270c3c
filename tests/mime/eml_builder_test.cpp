// Messages of the fake store written as .eml and read back with GMime: header fields, bodies,
// attachments, attached messages, and what a damaged message leaves out.
#include "eml_read_back.h"
#include "failure/failure.h"
#include "support/memory_outlook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <set>

namespace qb {
namespace {

using mail::AttachmentKind;
using mail::RecipientKind;
using mime::EmlProblem;
using test::MemoryFile;
using test::MemoryItem;

/// Every field the .eml text reads of a message: all failing leaves nothing readable.
const std::set<std::string> everyField = {"SenderName",
                                          "SenderEmailAddress",
                                          "SenderEmailType",
                                          "Recipients",
                                          "Subject",
                                          "ReceivedTime",
                                          "Body",
                                          "HtmlBody",
                                          "RtfBody",
                                          "TransportHeaders",
                                          "MessageId",
                                          "Attachments"};
using test::ReadBack;

/// The message model of one item of a fake store.
std::shared_ptr<mail::Message> MessageOf(MemoryItem item) {
    test::MemoryMailStoreLayer layer;
    layer.addProfileStore("Store").add("Inbox").add(std::move(item));
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    return mapi->folders()->item(1)->folders()->item(1)->items()->item(1)->message();
}

MemoryItem PlainMessage() {
    MemoryItem item;
    item.senderName = "Zoë Ångström";
    item.senderEmailAddress = "zoe@example.org";
    item.subject = "Grüße – der Plan";
    item.body = "First line\r\nSecond line\r\n";
    return item;
}

std::string WithLfLineEnds(std::string text) {
    std::erase(text, '\r');
    return text;
}

/// The header section of a written message.
std::string HeaderSection(const std::string &eml) {
    return eml.substr(0, eml.find("\r\n\r\n") + 2);
}

/// The bytes 0 to 255 over and over: every byte value, line ends among them.
std::string BinaryData(std::size_t size) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>(i * 7 % 256);
    return data;
}

TEST(EmlHeaders, BuiltFromTheStoreWhenNoTransportHeadersWereKept) {
    MemoryItem item = PlainMessage();
    item.recipients = {
        {RecipientKind::To, "José García", "jose@example.com", "SMTP", {}},
        {RecipientKind::Cc, "Søren Kierkegård", "/O=EXAMPLE/CN=SOREN", "EX", "soren@example.dk"},
        {RecipientKind::Bcc, "山田 太郎", "/O=EXAMPLE/CN=TARO", "EX", {}}};
    item.senderEmailType = "EX";
    item.senderEmailAddress = "/O=EXAMPLE/OU=EXCHANGE/CN=RECIPIENTS/CN=ZOE";
    item.senderSmtpAddress = "zoe@example.org";
    item.messageId = "<m2@example.org>";
    item.inReplyTo = "<m1@example.org>";
    item.references = "<m0@example.org> <m1@example.org>";
    std::vector<EmlProblem> problems;
    const std::string eml = test::WrittenEml(*MessageOf(item), problems);
    EXPECT_EQ(problems, std::vector<EmlProblem>{});
    const ReadBack read(eml);
    EXPECT_EQ(read.addresses(GMIME_ADDRESS_TYPE_FROM), "Zoë Ångström <zoe@example.org>");
    EXPECT_EQ(read.addresses(GMIME_ADDRESS_TYPE_TO), "José García <jose@example.com>");
    EXPECT_EQ(read.addresses(GMIME_ADDRESS_TYPE_CC), "Søren Kierkegård <soren@example.dk>");
    // Without an internet address a recipient keeps the name alone.
    EXPECT_EQ(read.addresses(GMIME_ADDRESS_TYPE_BCC), "山田 太郎: ;");
    EXPECT_EQ(read.field("Subject"), "Grüße – der Plan");
    EXPECT_EQ(read.field("Message-ID"), "<m2@example.org>");
    EXPECT_EQ(read.field("In-Reply-To"), "<m1@example.org>");
    EXPECT_EQ(read.field("References"), "<m0@example.org> <m1@example.org>");
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 3;
    local.tm_hour = 14;
    local.tm_min = 5;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    EXPECT_EQ(g_date_time_to_unix(g_mime_message_get_date(read.message())), std::mktime(&local));
    // Header fields are ASCII: the names and the subject are UTF-8 encoded words.
    const std::string headers = HeaderSection(eml);
    EXPECT_TRUE(std::all_of(headers.begin(), headers.end(), [](char c) {
        return static_cast<unsigned char>(c) < 128;
    })) << headers;
    EXPECT_NE(headers.find("=?UTF-8?"), std::string::npos) << headers;
    EXPECT_EQ(headers.find("EXCHANGE"), std::string::npos) << headers;
}

TEST(EmlHeaders, TransportHeadersKeptAsTheyWereButTheMimeFieldsDescribeTheNewBody) {
    const std::string received = "Received: from mx.example.org\r\n"
                                 "\tby mail.example.com; Mon, 4 Mar 2024 10:00:00 +0000\r\n";
    const struct {
        const char *what;
        std::string headers;
        std::vector<std::string> kept;
        std::string from, to, subject;
    } cases[] = {
        {"a whole block, with the line Exchange puts first and the old body's MIME fields",
         "Microsoft Mail Internet Headers Version 2.0\r\n" + received +
             "From: \"Ann\" <ann@example.com>\r\nTo: bob@example.com\r\n"
             "Subject: =?iso-8859-1?q?Caf=E9?=\r\nDate: Mon, 4 Mar 2024 10:00:00 +0000\r\n"
             "Message-ID: <t1@example.com>\r\nMIME-Version: 1.0\r\n"
             "Content-Type: multipart/mixed;\r\n\tboundary=\"old-boundary\"\r\n"
             "Content-Transfer-Encoding: 7bit\r\nX-Spacing:   kept   as   is\r\n\r\n",
         {received, "From: \"Ann\" <ann@example.com>\r\n", "Subject: =?iso-8859-1?q?Caf=E9?=\r\n",
          "X-Spacing:   kept   as   is\r\n"},
         "Ann <ann@example.com>",
         "bob@example.com",
         "Café"},
        {"a block cut short is completed from the store, the blind copy left out",
         received + "Message-ID: <t2@example.com>\n",
         {received, "Message-ID: <t2@example.com>\r\n"},
         "Zoë Ångström <zoe@example.org>",
         "José García <jose@example.com>",
         "Grüße – der Plan"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        MemoryItem item = PlainMessage();
        item.transportHeaders = c.headers;
        item.recipients = {{RecipientKind::To, "José García", "jose@example.com", "SMTP", {}},
                           {RecipientKind::Bcc, "Hidden", "hidden@example.com", "SMTP", {}}};
        item.messageId = "<store@example.org>";
        std::vector<EmlProblem> problems;
        const std::string eml = test::WrittenEml(*MessageOf(item), problems);
        EXPECT_EQ(problems, std::vector<EmlProblem>{});
        const std::string headers = HeaderSection(eml);
        for (const std::string &field : c.kept)
            EXPECT_NE(headers.find(field), std::string::npos) << field << "\nin\n" << headers;
        const ReadBack read(eml);
        EXPECT_EQ(read.shape(), "text/plain");
        EXPECT_EQ(read.addresses(GMIME_ADDRESS_TYPE_FROM), c.from);
        EXPECT_EQ(read.addresses(GMIME_ADDRESS_TYPE_TO), c.to);
        EXPECT_EQ(read.field("Subject"), c.subject);
        for (const char *gone : {"Microsoft Mail", "old-boundary", "7bit", "Hidden", "store@"})
            EXPECT_EQ(eml.find(gone), std::string::npos) << gone;
        for (const char *once : {"\nMIME-Version:", "\nContent-Type:", "\nMessage-ID:", "\nDate:"})
            EXPECT_EQ(headers.find(once), headers.rfind(once)) << once;
    }
}

TEST(EmlBodies, EachKindOfBodyGivesItsParts) {
    const std::string encapsulating =
        "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 {\\*\\htmltag19 <html><body>}"
        "{\\*\\htmltag64 <p>}\\htmlrtf {\\htmlrtf0 Gr\\'fc\\'dfe {\\*\\htmltag84 <b>}"
        "aus K\\'f6ln{\\*\\htmltag92 </b>}\\htmlrtf \\par \\htmlrtf0 }{\\*\\htmltag72 </p>}"
        "{\\*\\htmltag58 </body></html>}}";
    const std::string encapsulated = "<html><body><p>Grüße <b>aus Köln</b></p></body></html>";
    const struct {
        const char *what;
        std::string plain;
        std::optional<std::string> html;
        int codepage;
        std::optional<std::string> rtf;
        std::string shape, readPlain;
        std::optional<std::string> readHtml;
    } cases[] = {
        {"plain text only", "Eins\r\nZwei ü\r\n", {}, 0, {}, "text/plain", "Eins\nZwei ü\n", {}},
        {"plain text beside HTML",
         "Text",
         "<p>Html</p>",
         65001,
         {},
         "multipart/alternative[text/plain,text/html]",
         "Text",
         "<p>Html</p>"},
        {"HTML alone gives the plain text too",
         "",
         "<p>Caf\xE9 &amp; Tee</p>",
         1252,
         {},
         "multipart/alternative[text/plain,text/html]",
         "Café & Tee",
         "<p>Café &amp; Tee</p>"},
        {"an RTF body alone gives plain text",
         "",
         {},
         0,
         "{\\rtf1\\ansi\\ansicpg1252 Caf\\'e9\\par Tee}",
         "text/plain",
         "Café\nTee",
         {}},
        {"an RTF body that wraps HTML gives that HTML",
         "",
         {},
         0,
         encapsulating,
         "multipart/alternative[text/plain,text/html]",
         "Grüße aus Köln",
         encapsulated},
        {"the stored plain text stays beside the wrapped HTML",
         "Eigener Text",
         {},
         0,
         encapsulating,
         "multipart/alternative[text/plain,text/html]",
         "Eigener Text",
         encapsulated},
        {"nothing at all is an empty text", "", {}, 0, {}, "text/plain", "", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        MemoryItem item = PlainMessage();
        item.body = c.plain;
        item.htmlBody = c.html;
        item.htmlCodepage = c.codepage;
        item.rtfBody = c.rtf;
        std::vector<EmlProblem> problems;
        const ReadBack read(test::WrittenEml(*MessageOf(item), problems));
        EXPECT_EQ(problems, std::vector<EmlProblem>{});
        ASSERT_EQ(read.shape(), c.shape);
        const auto leaves = read.leaves();
        EXPECT_EQ(WithLfLineEnds(test::ContentOf(leaves[0])), c.readPlain);
        if (c.readHtml) {
            EXPECT_EQ(WithLfLineEnds(test::ContentOf(leaves[1])), *c.readHtml);
        }
        for (GMimeObject *text : leaves)
            EXPECT_STREQ(g_mime_object_get_content_type_parameter(text, "charset"), "UTF-8");
    }
}

TEST(EmlBodies, PicturesTheHtmlShowsGoWithItInMultipartRelated) {
    MemoryItem item = PlainMessage();
    item.htmlBody = "<p>Bild: <img src=\"cid:bild1@example.org\"></p>";
    item.files = {{.longFileName = "bild.png", .contentId = "<bild1@example.org>", .data = "PNG1"},
                  {.longFileName = "plan.pdf", .data = "%PDF"},
                  {.longFileName = "unused.png", .contentId = "other@example.org", .data = "PNG2"}};
    std::vector<EmlProblem> problems;
    const ReadBack read(test::WrittenEml(*MessageOf(item), problems));
    EXPECT_EQ(read.shape(), "multipart/mixed[multipart/alternative[text/plain,"
                            "multipart/related[text/html,image/png]],application/pdf,image/png]");
    const auto leaves = read.leaves();
    EXPECT_STREQ(g_mime_object_get_content_id(leaves[2]), "bild1@example.org");
    EXPECT_STREQ(g_mime_object_get_disposition(leaves[2]), "inline");
    EXPECT_EQ(test::ContentOf(leaves[2]), "PNG1");
    EXPECT_STREQ(g_mime_object_get_disposition(leaves[4]), "attachment");
    EXPECT_EQ(test::ContentOf(leaves[4]), "PNG2");
}

TEST(EmlAttachments, FilesKeepTheirBytesNamesAndTypes) {
    const std::string large = BinaryData(700 * 1024); // more than one piece of the store's reads
    MemoryItem item = PlainMessage();
    item.files = {
        {.longFileName = "Übersicht – März.pdf", .shortFileName = "UBERSI~1.PDF", .data = large},
        {.shortFileName = "REPORT~1.TXT", .mimeType = "text/plain", .data = "a\r\nb\nc\r"},
        {.displayName = "Bild", .mimeType = "image/jpeg", .data = BinaryData(10)},
        {.mimeType = "jpg", .data = ""},
        {.longFileName = "Tabelle.XLSX", .mimeType = " ", .data = "xlsx"},
    };
    const struct {
        const char *name;
        const char *type;
    } expected[] = {
        {"Übersicht – März.pdf", "application/pdf"},
        {"REPORT~1.TXT", "text/plain"},
        {"Bild", "image/jpeg"},
        {"", "application/octet-stream"},
        {"Tabelle.XLSX", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"}};
    std::vector<EmlProblem> problems;
    const std::string eml = test::WrittenEml(*MessageOf(item), problems);
    EXPECT_EQ(problems, std::vector<EmlProblem>{});
    EXPECT_NE(eml.find("filename*=UTF-8''%C3%9Cbersicht"), std::string::npos)
        << "a name beyond ASCII is written as RFC 2231 says";
    const ReadBack read(eml);
    const auto leaves = read.leaves();
    ASSERT_EQ(leaves.size(), item.files.size() + 1);
    for (std::size_t i = 0; i < item.files.size(); ++i) {
        SCOPED_TRACE("file " + std::to_string(i + 1));
        GMimeObject *file = leaves[i + 1];
        EXPECT_EQ(test::FileNameOf(file), expected[i].name);
        EXPECT_EQ(test::TypeOf(file), expected[i].type);
        EXPECT_EQ(g_mime_part_get_content_encoding(GMIME_PART(file)),
                  GMIME_CONTENT_ENCODING_BASE64);
        EXPECT_TRUE(test::ContentOf(file) == item.files[i].data) << "the bytes differ";
    }
}

TEST(EmlAttachments, AttachedMessagesNestAsDeepAsTheStoreHoldsThem) {
    auto innermost = std::make_shared<MemoryItem>(PlainMessage());
    innermost->subject = "Ebene 3";
    innermost->files = {{.longFileName = "tief ß.txt", .data = "ganz unten\r\n"}};
    std::shared_ptr<MemoryItem> level = innermost;
    for (const char *subject : {"Ebene 2", "Ebene 1"}) {
        auto outer = std::make_shared<MemoryItem>(PlainMessage());
        outer->subject = subject;
        outer->files = {
            {.kind = AttachmentKind::EmbeddedMessage, .displayName = "Weiter", .message = level}};
        level = outer;
    }
    std::vector<EmlProblem> problems;
    const ReadBack read(test::WrittenEml(*MessageOf(*level), problems));
    EXPECT_EQ(problems, std::vector<EmlProblem>{});
    EXPECT_EQ(read.shape(), "multipart/mixed[text/plain,message/rfc822[multipart/mixed[text/plain,"
                            "message/rfc822[multipart/mixed[text/plain,text/plain]]]]]");
    EXPECT_EQ(test::FileNameOf(read.leaves()[1]), "Weiter");
    const ReadBack second = read.attachedMessages().at(0);
    EXPECT_EQ(second.field("Subject"), "Ebene 2");
    const ReadBack third = second.attachedMessages().at(0);
    EXPECT_EQ(third.field("Subject"), "Ebene 3");
    EXPECT_EQ(third.addresses(GMIME_ADDRESS_TYPE_FROM), "Zoë Ångström <zoe@example.org>");
    EXPECT_EQ(test::FileNameOf(third.leaves()[1]), "tief ß.txt");
    EXPECT_EQ(test::ContentOf(third.leaves()[1]), "ganz unten\r\n");
}

TEST(EmlBadInput, WhatCannotBeWrittenIsAProblemAndTheRestIsWritten) {
    const std::string data = BinaryData(600 * 1024);
    const auto file = [&](std::set<std::string> failing = {}) {
        return MemoryFile{.longFileName = "plan.pdf", .data = data, .failing = failing};
    };
    const struct {
        const char *what;
        std::function<void(MemoryItem &)> damage;
        std::string shape;
        EmlProblem problem; // the part, and a piece of the reason
    } cases[] = {
        {"an OLE object",
         [](MemoryItem &m) {
             m.files = {{.kind = AttachmentKind::OleObject, .displayName = "Zeichnung"}};
         },
         "text/plain",
         {"attachment 1 \"Zeichnung\"", "OLE object"}},
        {"a reference to a file elsewhere",
         [](MemoryItem &m) {
             m.files = {{.kind = AttachmentKind::Reference, .longFileName = "x.docx"}};
         },
         "text/plain",
         {"attachment 1 \"x.docx\"", "reference"}},
        {"data that cannot be read at all",
         [&](MemoryItem &m) {
             m.files = {file({"Data"}), file()};
         },
         "multipart/mixed[text/plain,application/pdf]",
         {"attachment 1 \"plan.pdf\"", "its data cannot be read"}},
        {"data that cannot be read to its end",
         [&](MemoryItem &m) {
             m.files = {file()};
             m.files[0].dataFailsAfter = 300 * 1024;
         },
         "multipart/mixed[text/plain,application/pdf]",
         {"attachment 1 \"plan.pdf\"", "where the part ends"}},
        {"a file whose kind cannot be read",
         [&](MemoryItem &m) { m.files = {file({"Kind"})}; },
         "text/plain",
         {"attachment 1 \"plan.pdf\"", "unknown"}},
        {"a file whose name cannot be read",
         [&](MemoryItem &m) { m.files = {file({"Names"})}; },
         "multipart/mixed[text/plain,application/octet-stream]",
         {"attachment 1", "its name cannot be read"}},
        {"an attachment that cannot be opened",
         [&](MemoryItem &m) {
             m.files = {file()};
             m.failing = {"Attachment"};
         },
         "text/plain",
         {"attachment 1", "unknown"}},
        {"a recipient table that cannot be read",
         [](MemoryItem &m) { m.failing = {"Recipients"}; },
         "text/plain",
         {"recipient table", "unknown"}},
        {"an HTML body that cannot be read",
         [](MemoryItem &m) {
             m.htmlBody = "<p>x</p>";
             m.failing = {"HtmlBody"};
         },
         "text/plain",
         {"HTML body", "unknown"}},
        {"an HTML body in a code page nobody knows",
         [](MemoryItem &m) {
             m.htmlBody = "<p>Caf\xE9</p>";
             m.htmlCodepage = 4711;
         },
         "multipart/alternative[text/plain,text/html]",
         {"HTML body", "code page 4711 is not known"}},
        {"an attached message that cannot be read",
         [](MemoryItem &m) {
             m.files = {{.kind = AttachmentKind::EmbeddedMessage,
                         .displayName = "Fwd",
                         .failing = {"Message"}}};
         },
         "text/plain",
         {"attachment 1 \"Fwd\"", "unknown"}},
        {"an attached message of which nothing can be read",
         [](MemoryItem &m) {
             auto broken = std::make_shared<MemoryItem>();
             broken->failing = everyField;
             m.files = {{.kind = AttachmentKind::EmbeddedMessage,
                         .displayName = "Fwd",
                         .message = broken}};
         },
         "text/plain",
         {"attachment 1 \"Fwd\"", "the attached message cannot be read"}},
        {"a part of an attached message",
         [](MemoryItem &m) {
             auto inner = std::make_shared<MemoryItem>(PlainMessage());
             inner->files = {{.kind = AttachmentKind::OleObject, .displayName = "Ole"}};
             m.files = {
                 {.kind = AttachmentKind::EmbeddedMessage, .displayName = "Fwd", .message = inner}};
         },
         "multipart/mixed[text/plain,message/rfc822[text/plain]]",
         {"attachment 1 \"Fwd\" > attachment 1 \"Ole\"", "OLE object"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        MemoryItem item = PlainMessage();
        c.damage(item);
        std::vector<EmlProblem> problems;
        const ReadBack read(test::WrittenEml(*MessageOf(item), problems));
        EXPECT_EQ(read.shape(), c.shape);
        EXPECT_EQ(read.field("Subject"), "Grüße – der Plan");
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].part, c.problem.part);
        EXPECT_NE(problems[0].why.find(c.problem.why), std::string::npos) << problems[0].why;
        for (GMimeObject *leaf : read.leaves())
            if (test::TypeOf(leaf) == "application/pdf") {
                const std::string written = test::ContentOf(leaf);
                EXPECT_TRUE(written.size() <= data.size() && data.starts_with(written));
            }
    }
}

TEST(EmlBadInput, ALoopOfAttachedMessagesEndsAtTheDeepestNesting) {
    MemoryItem item = PlainMessage();
    item.files = {
        {.kind = AttachmentKind::EmbeddedMessage, .displayName = "Selbst", .attachesHolder = true}};
    std::vector<EmlProblem> problems;
    ReadBack read(test::WrittenEml(*MessageOf(item), problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].why.find("loop"), std::string::npos) << problems[0].why;
    int depth = 0;
    for (; !read.attachedMessages().empty(); ++depth)
        read = read.attachedMessages().front();
    EXPECT_EQ(depth, mail::maxNesting);
}

TEST(EmlBadInput, AnUnreadableMessageOrAFailingSinkThrows) {
    MemoryItem broken;
    broken.failing = everyField;
    std::vector<EmlProblem> problems;
    mime::StringSink sink;
    EXPECT_THROW(mime::WriteEml(*MessageOf(broken), sink, problems), Failure);

    struct FullDisk : mime::ByteSink {
        void write(std::string_view) override {
            throw Failure(61, "FileSystem", "No space left on device");
        }
    } full;
    MemoryItem item = PlainMessage();
    item.files = {{.longFileName = "big.bin", .data = BinaryData(200 * 1024)}};
    try {
        mime::WriteEml(*MessageOf(item), full, problems);
        FAIL() << "a sink that fails was written to";
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.description(), "No space left on device");
    }
}

} // namespace
} // namespace qb
