#include "mime/gmime_mime_reader.h"

#include "failure/failure.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

const std::string headers = "From: Ann <ann@example.com>\r\nTo: Bob\r\nSubject: Hi\r\n"
                            "Date: Mon, 4 Mar 2024 10:00:00 +0000\r\nMIME-Version: 1.0\r\n";

/// A multipart body of the parts, each given with its own headers, under the boundary "b".
std::string Multipart(const std::string &subtype, const std::vector<std::string> &parts) {
    std::string text = "Content-Type: multipart/" + subtype + "; boundary=\"b" + subtype +
                       "\"\r\n\r\npreamble\r\n";
    for (const std::string &part : parts)
        text += "--b" + subtype + "\r\n" + part + "\r\n";
    return text + "--b" + subtype + "--\r\n";
}

const std::string plainPart = "Content-Type: text/plain; charset=us-ascii\r\n\r\nthe plain text";
const std::string htmlPart =
    "Content-Type: text/html; charset=utf-8\r\n\r\n<html><body><p>the html</p></body></html>";

TEST(GmimeMimeReader, TakesTheFirstPlainBodyDecoded) {
    struct Case {
        const char *what;
        std::string message; // after the common headers
        std::string body;
    };
    const Case cases[] = {
        {"not MIME: no content type at all", "\r\nJust text\r\nsecond line\r\n",
         "Just text\r\nsecond line\r\n"},
        {"quoted-printable ISO-8859-1 with a soft break",
         "Content-Type: text/plain; charset=ISO-8859-1\r\n"
         "Content-Transfer-Encoding: quoted-printable\r\n\r\nCaf=E9 au l=\r\nait=3D1\r\n",
         "Caf\xC3\xA9 au lait=1\r\n"},
        {"base64 UTF-8, LF line ends become CR LF",
         "Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n\r\n"
         "R3LDvMOfZQp6d2VpdGUgWmVpbGUK\r\n",
         "Gr\xC3\xBC\xC3\x9F"
         "e\r\nzweite Zeile\r\n"},
        {"8-bit ISO-8859-1 that names its charset",
         "Content-Type: text/plain; charset=iso-8859-1\r\n"
         "Content-Transfer-Encoding: 8bit\r\n\r\nna\xEFve\r\n",
         "na\xC3\xAFve\r\n"},
        {"8-bit text without a charset is still made UTF-8",
         "Content-Type: text/plain\r\n\r\nna\xEFve\r\n", "na\xC3\xAFve\r\n"},
        {"multipart/alternative: the plain part, though the html comes first",
         Multipart("alternative", {htmlPart, plainPart}), "the plain text"},
        {"nested multipart, an attached text file passed over",
         Multipart("mixed", {"Content-Type: text/plain\r\nContent-Disposition: attachment; "
                             "filename=notes.txt\r\n\r\nthe attachment",
                             Multipart("alternative", {plainPart, htmlPart})}),
         "the plain text"},
        {"the text of an attached message is not this message's",
         Multipart("mixed", {"Content-Type: message/rfc822\r\n\r\nSubject: inner\r\n" + plainPart,
                             "Content-Type: text/plain\r\n\r\nthe outer text"}),
         "the outer text"},
        {"a NUL byte does not cut the text off",
         "Content-Type: text/plain; charset=utf-8\r\n\r\nbefore" + std::string(1, '\0') +
             "after\r\n",
         "before\xEF\xBF\xBD"
         "after\r\n"},
        {"no text part at all",
         Multipart("mixed", {"Content-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n"
                             "\r\niVBORw0KGgo=\r\n"}),
         ""},
    };
    test::TempFolder folder;
    GmimeMimeReader reader;
    for (const Case &c : cases) {
        folder.write("m.eml", headers + c.message);
        EXPECT_EQ(reader.textBody(folder / "m.eml"), c.body) << c.what;
    }
}

TEST(GmimeMimeReader, TurnsAnHtmlOnlyBodyIntoText) {
    test::TempFolder folder;
    folder.write("m.eml", headers +
                              "Content-Type: text/html; charset=windows-1252\r\n"
                              "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
                              "<html><head><style>p {color: red}</style></head><body>"
                              "<p>Caf=E9 &amp; <b>cake</b></p><p>second</p></body></html>\r\n");
    const std::string body = GmimeMimeReader().textBody(folder / "m.eml");
    EXPECT_NE(body.find("Caf\xC3\xA9 & cake"), std::string::npos) << body;
    EXPECT_NE(body.find("second"), std::string::npos) << body;
    EXPECT_EQ(body.find('<'), std::string::npos) << body;
    EXPECT_EQ(body.find("color"), std::string::npos) << body;
    EXPECT_EQ(body.find("\r\n"), body.find('\n') - 1) << "line ends are CR LF";
}

TEST(GmimeMimeReader, FailsWhenTheFileCannotBeReadOrIsNoMessage) {
    test::TempFolder folder;
    GmimeMimeReader reader;
    try {
        reader.textBody(folder / "missing.eml");
        FAIL() << "a missing file was read";
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.number(), error_number::fileNotFound);
        EXPECT_NE(failure.description().find("missing.eml"), std::string::npos);
    }
    EXPECT_THROW(reader.textBody(folder.path()), Failure);
    folder.write("words.eml", "just some words\nand no header at all\n");
    EXPECT_THROW(reader.textBody(folder / "words.eml"), Failure);
}

} // namespace
} // namespace qb
