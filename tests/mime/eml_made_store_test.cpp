// The messages of a store the PST store maker writes, exported as .eml and read back by GMime
// and by Python's email package: every part the store holds comes back as it was written, and
// large attachments pass through memory one at a time.
#include "eml_read_back.h"
#include "pst/pff_mail_store.h"
#include "support/made_store.h"
#include "support/program_run.h"
#include "support/pst/pst_sample_store.h"
#include "support/pst/pst_store_writer.h"
#include "support/sample_store_suite.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace qb {
namespace {

using pstmaker::Attachment;
using pstmaker::SampleMailMessage;

constexpr pstmaker::SampleStoreOptions options{40, 5, 0};

std::string Sha256(const std::string &bytes) {
    const std::unique_ptr<char, GFreeRelease> sum(g_compute_checksum_for_data(
        G_CHECKSUM_SHA256, reinterpret_cast<const guchar *>(bytes.data()), bytes.size()));
    return sum.get();
}

std::string DataOf(const Attachment &file) {
    return file.generatedSize == 0
               ? file.data
               : pstmaker::GeneratedBytes(file.generatorSeed, 0, file.generatedSize);
}

std::string InternetAddressOf(const std::string &address, const std::string &smtp) {
    return smtp.empty() ? address : smtp;
}

/// The tree of parts a written message must have, as ReadBack::shape writes it.
std::string ShapeOf(const pstmaker::Message &message) {
    const std::string body =
        message.htmlBody ? "multipart/alternative[text/plain,text/html]" : "text/plain";
    std::string attachments;
    for (const Attachment &attachment : message.attachments) {
        if (attachment.method == Attachment::Method::byValue)
            attachments += "," + (attachment.mimeType.empty() ? "text/plain" : attachment.mimeType);
        if (attachment.method == Attachment::Method::embeddedMessage)
            attachments += ",message/rfc822[" + ShapeOf(*attachment.message) + "]";
    }
    return attachments.empty() ? body : "multipart/mixed[" + body + attachments + "]";
}

/// What the tests compare of a message: the same lines whoever reads it.
std::string Summary(const pstmaker::Message &message) {
    std::string lines = "subject\t" + message.subject + "\nfrom\t" + message.senderName + " <" +
                        InternetAddressOf(message.senderAddress, message.senderSmtpAddress) +
                        ">\nshape\t" + ShapeOf(message) + "\n";
    for (const Attachment &attachment : message.attachments) {
        if (attachment.method == Attachment::Method::byValue) {
            const std::string data = DataOf(attachment);
            lines += "file\t" + attachment.longFileName + "\t" + std::to_string(data.size()) +
                     "\t" + Sha256(data) + "\n";
        }
        if (attachment.method == Attachment::Method::embeddedMessage)
            lines += "attached\t" + attachment.message->subject + "\n";
    }
    return lines;
}

/// The same summary of a message read back with GMime.
std::string SummaryOf(const test::ReadBack &read) {
    std::string lines = "subject\t" + read.field("Subject") + "\nfrom\t" +
                        read.addresses(GMIME_ADDRESS_TYPE_FROM) + "\nshape\t" + read.shape() + "\n";
    for (GMimeObject *leaf : read.leaves()) {
        if (GMIME_IS_MESSAGE_PART(leaf)) {
            const test::ReadBack attached(
                g_mime_message_part_get_message(GMIME_MESSAGE_PART(leaf)));
            lines += "attached\t" + attached.field("Subject") + "\n";
        } else if (g_mime_part_is_attachment(GMIME_PART(leaf))) {
            const std::string data = test::ContentOf(leaf);
            lines += "file\t" + test::FileNameOf(leaf) + "\t" + std::to_string(data.size()) + "\t" +
                     Sha256(data) + "\n";
        }
    }
    return lines;
}

/// The full path of a program found along PATH; empty when there is none.
std::string ProgramOnPath(const std::string &name) {
    std::istringstream path(getenv("PATH") ? getenv("PATH") : "");
    for (std::string folder; std::getline(path, folder, ':');)
        if (!folder.empty() && ::access((folder + "/" + name).c_str(), X_OK) == 0)
            return folder + "/" + name;
    return {};
}

/// Prints the summary of the .eml file named by its argument, read with Python's email package.
const char *const pythonSummary = R"(
import email, email.policy, hashlib, sys

def shape(part):
    kind = part.get_content_type()
    if kind == 'message/rfc822':
        return kind + '[' + shape(part.get_payload(0)) + ']'
    if part.is_multipart():
        return kind + '[' + ','.join(shape(p) for p in part.get_payload()) + ']'
    return kind

with open(sys.argv[1], 'rb') as file:
    message = email.message_from_binary_file(file, policy=email.policy.default)
lines = ['subject\t' + str(message['subject']), 'from\t' + str(message['from']),
         'shape\t' + shape(message)]
body = message.get_payload() if message.is_multipart() else []
for part in body:
    if part.get_content_type() == 'message/rfc822':
        lines.append('attached\t' + str(part.get_payload(0)['subject']))
    elif part.get_content_disposition() == 'attachment':
        data = part.get_payload(decode=True)
        lines.append('file\t%s\t%d\t%s' % (part.get_filename(), len(data),
                                            hashlib.sha256(data).hexdigest()))
defects = sum(len(part.defects) for part in message.walk())
print('\n'.join(lines))
print('defects\t%d' % defects)
)";

using MadeStoreEml = test::SampleStoreSuite<options>;

TEST_F(MadeStoreEml, EveryMessageReadsBackWithItsHeadersPartsAndBytes) {
    for (std::uint64_t index = 0; index < options.mailMessages; ++index) {
        SCOPED_TRACE("message " + std::to_string(index));
        const pstmaker::Message written = SampleMailMessage(options, index);
        std::vector<mime::EmlProblem> problems;
        const test::ReadBack read(test::WrittenEml(*message(index), problems));
        EXPECT_EQ(SummaryOf(read), Summary(written));
        // The transport headers stay; the people the block lacks come from the recipient table.
        EXPECT_EQ(read.field("X-Mailer"), "Quillbarrow sample");
        EXPECT_EQ(read.field("Message-ID"), written.internetMessageId);
        std::string to;
        for (const pstmaker::Recipient &recipient : written.recipients)
            if (recipient.kind == pstmaker::Recipient::Kind::to)
                to += (to.empty() ? "" : ", ") + recipient.name + " <" +
                      InternetAddressOf(recipient.address, recipient.smtpAddress) + ">";
        EXPECT_EQ(read.addresses(GMIME_ADDRESS_TYPE_TO), to);
        EXPECT_EQ(read.addresses(GMIME_ADDRESS_TYPE_BCC), "");
        std::size_t notFiles = 0;
        for (const Attachment &attachment : written.attachments)
            notFiles += attachment.method == Attachment::Method::oleObject ||
                        attachment.method == Attachment::Method::byReference;
        EXPECT_EQ(problems.size(), notFiles);
    }
}

TEST_F(MadeStoreEml, AttachedMessagesReadBackToTheFileAtTheBottom) {
    const pstmaker::Message written = SampleMailMessage(options, 3);
    std::vector<mime::EmlProblem> problems;
    test::ReadBack level(test::WrittenEml(*message(3), problems));
    const pstmaker::Message *expected = &written;
    for (int depth = 0; depth < 3; ++depth) {
        expected = expected->attachments[depth == 0 ? 2 : 0].message.get();
        level = level.attachedMessages().at(0);
        EXPECT_EQ(SummaryOf(level), Summary(*expected)) << "depth " << depth + 1;
    }
}

TEST_F(MadeStoreEml, PythonsEmailPackageReadsTheSameMessage) {
    const std::string python = ProgramOnPath("python3");
    if (python.empty())
        GTEST_SKIP() << "python3 is not on PATH: the .eml is not read with Python's email package";
    std::vector<mime::EmlProblem> problems;
    folder->write("message 3.eml", test::WrittenEml(*message(3), problems));
    const test::ProgramRun run =
        test::RunProgram(python, {"-c", pythonSummary, *folder / "message 3.eml"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.output, Summary(SampleMailMessage(options, 3)) + "defects\t0\n");
}

// GCC says so with a macro, clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool underAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool underAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool underAddressSanitizer = false;
#endif

/// Counts the bytes of a message and lets them go.
class CountingSink : public mime::ByteSink {
  public:
    void write(std::string_view bytes) override { count += bytes.size(); }
    std::uint64_t count = 0;
};

/// The most memory this process has held so far, in bytes.
std::uint64_t PeakMemory() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
}

// The store holds an attachment's whole data while it is open, so one open for each part while
// the message is planned would hold every large file at once.
TEST(LargeAttachmentEml, TwoLargeFilesAddAtMostTheSizeOfOneToMemory) {
    if (underAddressSanitizer)
        GTEST_SKIP() << "AddressSanitizer keeps freed memory: peak memory says nothing here";
    constexpr std::uint64_t fileBytes = 30u << 20;
    // A fixed threshold gives freed blocks of this size back at once; the allocator's moving one
    // may keep one in its heap, which would say nothing about what the builder holds.
    ::mallopt(M_MMAP_THRESHOLD, 1 << 20);
    test::TempFolder folder;
    {
        pstmaker::PstStoreWriter writer(folder / "large.pst", "Große Dateien");
        pstmaker::Message message = SampleMailMessage({1, 1, 0}, 0);
        for (std::uint64_t seed : {1, 2}) {
            Attachment file;
            file.longFileName = "groß " + std::to_string(seed) + ".bin";
            file.mimeType = "application/octet-stream";
            file.generatorSeed = seed;
            file.generatedSize = fileBytes;
            message.attachments.push_back(file);
        }
        writer.addMessage(writer.addFolder(writer.topOfPersonalFolders(), "Posteingang"), message);
        writer.finish();
    }
    test::TempFolder emptyProfile;
    PffMailStoreLayer layer{emptyProfile.path()};
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    mapi->AddStore(folder / "large.pst");
    std::shared_ptr<mail::Message> message =
        mapi->folders()->GetLast()->folders()->item(2)->items()->item(1)->message();
    ASSERT_EQ(message->attachmentCount(), 2);

    const std::uint64_t before = PeakMemory();
    CountingSink sink;
    std::vector<mime::EmlProblem> problems;
    mime::WriteEml(*message, sink, problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_GT(sink.count, 2 * fileBytes * 4 / 3); // both files, in base64
    EXPECT_LT(PeakMemory() - before, fileBytes + (16u << 20));
}

} // namespace
} // namespace qb
