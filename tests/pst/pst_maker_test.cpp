// The stores of the PST store maker read back through libpff itself and through the program's
// store layer: what the tests of the readers build on.
#include "pst/pff_mail_store.h"
#include "support/pst/pst_sample_store.h"
#include "support/pst/pst_store_writer.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>
#include <libpff.h>

#include <cstring>
#include <ctime>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace qb {
namespace {

using pstmaker::Attachment;
using pstmaker::GeneratedBytes;
using pstmaker::Message;
using pstmaker::SampleMailMessage;
using pstmaker::SampleStoreOptions;

void Check(int result, const char *call) {
    if (result != 1)
        throw std::runtime_error(std::string("libpff: ") + call + " failed");
}

/// A file opened with libpff. Its items stay until the file closes, youngest first: an item's
/// sub items live in its tree, so a parent freed early takes its children with it. Every failing
/// libpff call fails the test at once.
class LibpffStore {
  public:
    explicit LibpffStore(const std::string &path) {
        Check(libpff_file_initialize(&file_, nullptr), "initialize");
        Check(libpff_file_open(file_, path.c_str(), LIBPFF_OPEN_READ, nullptr), "open");
    }
    ~LibpffStore() {
        for (; !items_.empty(); items_.pop_back())
            libpff_item_free(&items_.back(), nullptr);
        libpff_file_close(file_, nullptr);
        libpff_file_free(&file_, nullptr);
    }
    libpff_file_t *file() { return file_; }
    libpff_item_t **newItem() { return &items_.emplace_back(nullptr); }

  private:
    libpff_file_t *file_ = nullptr;
    std::deque<libpff_item_t *> items_;
};

/// An item of a LibpffStore.
class PffItem {
  public:
    explicit PffItem(LibpffStore &store) : slot_(store.newItem()) {}
    libpff_item_t **out() { return slot_; }
    libpff_item_t *get() const { return *slot_; }

  private:
    libpff_item_t **slot_;
};

std::string FolderName(libpff_item_t *folder) {
    std::size_t size = 0;
    if (libpff_folder_get_utf8_name_size(folder, &size, nullptr) != 1 || size == 0)
        return "";
    std::string name(size, '\0');
    Check(libpff_folder_get_utf8_name(folder, reinterpret_cast<std::uint8_t *>(name.data()), size,
                                      nullptr),
          "folder name");
    name.pop_back();
    return name;
}

/// The raw bytes of a property of the item's first record set; nothing when absent.
std::optional<std::string> Property(libpff_item_t *item, std::uint32_t tag,
                                    const char *name = nullptr) {
    libpff_record_set_t *set = nullptr;
    Check(libpff_item_get_record_set_by_index(item, 0, &set, nullptr), "record set");
    libpff_record_entry_t *entry = nullptr;
    const int found = name ? libpff_record_set_get_entry_by_utf8_name(
                                 set, reinterpret_cast<const std::uint8_t *>(name),
                                 std::strlen(name), tag & 0xFFFF, &entry, 0, nullptr)
                           : libpff_record_set_get_entry_by_type(set, tag >> 16, tag & 0xFFFF,
                                                                 &entry, 0, nullptr);
    std::optional<std::string> value;
    std::size_t size = 0;
    if (found == 1 && libpff_record_entry_get_data_size(entry, &size, nullptr) == 1) {
        value.emplace(size, '\0');
        Check(libpff_record_entry_get_data(entry, reinterpret_cast<std::uint8_t *>(value->data()),
                                           size, nullptr),
              "entry data");
    }
    libpff_record_entry_free(&entry, nullptr);
    libpff_record_set_free(&set, nullptr);
    return value;
}

std::optional<std::string> Unicode(libpff_item_t *item, std::uint32_t tag,
                                   const char *name = nullptr) {
    auto value = Property(item, tag, name);
    if (!value)
        return std::nullopt;
    return pstmaker::Utf16ToUtf8(*value);
}

std::string AttachmentBytes(libpff_item_t *attachment) {
    size64_t size = 0;
    Check(libpff_attachment_get_data_size(attachment, &size, nullptr), "attachment size");
    std::string data(size, '\0');
    std::size_t at = 0;
    while (at < data.size()) {
        const ssize_t read = libpff_attachment_data_read_buffer(
            attachment, reinterpret_cast<std::uint8_t *>(data.data() + at),
            std::min<std::size_t>(data.size() - at, 1 << 20), nullptr);
        if (read <= 0)
            throw std::runtime_error("libpff: attachment data");
        at += static_cast<std::size_t>(read);
    }
    return data;
}

/// Items per folder path below the top of personal folders, walked through libpff.
void CountItems(LibpffStore &store, libpff_item_t *folder, const std::string &path,
                std::map<std::string, int> &out) {
    int messages = 0;
    Check(libpff_folder_get_number_of_sub_messages(folder, &messages, nullptr), "messages");
    out[path] = messages;
    int folders = 0;
    Check(libpff_folder_get_number_of_sub_folders(folder, &folders, nullptr), "folders");
    for (int i = 0; i < folders; ++i) {
        PffItem child(store);
        Check(libpff_folder_get_sub_folder(folder, i, child.out(), nullptr), "sub folder");
        const std::string name = FolderName(child.get());
        CountItems(store, child.get(), path.empty() ? name : path + "/" + name, out);
    }
}

libpff_item_t *SubFolder(LibpffStore &store, libpff_item_t *parent, const std::string &name) {
    int count = 0;
    Check(libpff_folder_get_number_of_sub_folders(parent, &count, nullptr), "folders");
    for (int i = 0; i < count; ++i) {
        PffItem child(store);
        Check(libpff_folder_get_sub_folder(parent, i, child.out(), nullptr), "sub folder");
        if (FolderName(child.get()) == name)
            return child.get();
    }
    throw std::runtime_error("no folder " + name);
}

/// The top of personal folders and, below it, the folder at a sample path.
libpff_item_t *OpenFolder(LibpffStore &store, const std::string &folderPath) {
    PffItem root(store);
    Check(libpff_file_get_root_folder(store.file(), root.out(), nullptr), "root");
    libpff_item_t *folder = SubFolder(store, root.get(), "Top of Personal Folders");
    std::istringstream parts(folderPath);
    for (std::string part; std::getline(parts, part, '/');)
        folder = SubFolder(store, folder, part);
    return folder;
}

class MadeStore : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = new test::TempFolder;
        path = *folder / "made.pst";
        pstmaker::WriteSampleStore(path, options);
    }
    static void TearDownTestSuite() { delete folder; }

    /// Mail message `index` of the sample store as libpff reads it.
    void openMessage(std::uint64_t index, PffItem &out) {
        const std::size_t folderIndex = pstmaker::SampleFolderOf(index);
        int position = 0;
        for (std::uint64_t earlier = 0; earlier < index; ++earlier)
            position += pstmaker::SampleFolderOf(earlier) == folderIndex ? 1 : 0;
        libpff_item_t *owner = OpenFolder(store, pstmaker::SampleFolderPaths()[folderIndex]);
        Check(libpff_folder_get_sub_message(owner, position, out.out(), nullptr), "message");
    }

    static inline test::TempFolder *folder = nullptr;
    static inline std::string path;
    static inline const SampleStoreOptions options{120, 7, 0};
    LibpffStore store{path};
};

TEST_F(MadeStore, FolderTreeHoldsEveryItemWhereTheGeneratorPutIt) {
    std::map<std::string, int> expected;
    for (const std::string &folderPath : pstmaker::SampleFolderPaths())
        expected[folderPath] = 0;
    for (std::uint64_t index = 0; index < options.mailMessages; ++index)
        ++expected[pstmaker::SampleFolderPaths()[pstmaker::SampleFolderOf(index)]];
    const int others = 1 + static_cast<int>(options.mailMessages / 50);
    expected["Calendar"] += others;
    expected["Contacts"] += others;
    expected["Inbox"] += 2;

    libpff_item_t *top = OpenFolder(store, "");
    std::map<std::string, int> counted;
    CountItems(store, top, "", counted);
    EXPECT_EQ(counted, expected);
}

TEST_F(MadeStore, MessageFieldsReadBackAsWritten) {
    // One message of each body kind and sender kind, the reply with the subject marker among them.
    for (const std::uint64_t index : {0, 1, 2, 4, 5}) {
        SCOPED_TRACE("message " + std::to_string(index));
        const Message written = SampleMailMessage(options, index);
        PffItem message(store);
        openMessage(index, message);
        const std::string subject = *Unicode(message.get(), 0x0037001F);
        EXPECT_EQ(subject, (written.subjectMarker ? subject.substr(0, 2) : "") + written.subject);
        EXPECT_EQ(Unicode(message.get(), 0x0C1A001F), written.senderName);
        EXPECT_EQ(Unicode(message.get(), 0x0C1F001F), written.senderAddress);
        EXPECT_EQ(Unicode(message.get(), 0x0C1E001F), written.senderAddressType);
        EXPECT_EQ(Unicode(message.get(), 0x5D01001F).value_or(""), written.senderSmtpAddress);
        EXPECT_EQ(Unicode(message.get(), 0x1042001F).value_or(""), written.inReplyTo);
        EXPECT_EQ(Unicode(message.get(), 0x0070001F, "x-mailer"), "Quillbarrow sample ✓");
        EXPECT_EQ(Unicode(message.get(), 0x1000001F), written.plainBody);
        const auto html = written.htmlAsText ? Unicode(message.get(), 0x1013001F)
                                             : Property(message.get(), 0x10130102);
        EXPECT_EQ(html, written.htmlBody);
        if (written.rtfBody) {
            std::size_t size = 0;
            Check(libpff_message_get_rtf_body_size(message.get(), &size, nullptr), "rtf size");
            std::string rtf(size, '\0');
            Check(libpff_message_get_rtf_body(
                      message.get(), reinterpret_cast<std::uint8_t *>(rtf.data()), size, nullptr),
                  "rtf body");
            EXPECT_EQ(rtf.substr(0, rtf.find('\0')), *written.rtfBody);
        }
        PffItem recipients(store);
        int count = 0;
        Check(libpff_message_get_recipients(message.get(), recipients.out(), nullptr),
              "recipients");
        Check(libpff_item_get_number_of_record_sets(recipients.get(), &count, nullptr), "rows");
        EXPECT_EQ(count, static_cast<int>(written.recipients.size()));
    }
}

TEST_F(MadeStore, AttachmentsReadBackByteForByteAndNested) {
    const Message written = SampleMailMessage(options, 3);
    PffItem message(store);
    openMessage(3, message);
    int count = 0;
    Check(libpff_message_get_number_of_attachments(message.get(), &count, nullptr), "count");
    ASSERT_EQ(count, static_cast<int>(written.attachments.size()));
    const std::map<Attachment::Method, int> libpffTypes = {
        {Attachment::Method::byValue, LIBPFF_ATTACHMENT_TYPE_DATA},
        {Attachment::Method::oleObject, LIBPFF_ATTACHMENT_TYPE_DATA},
        {Attachment::Method::embeddedMessage, LIBPFF_ATTACHMENT_TYPE_ITEM},
        {Attachment::Method::byReference, LIBPFF_ATTACHMENT_TYPE_REFERENCE}};
    for (int i = 0; i < count; ++i) {
        const Attachment &expected = written.attachments[i];
        SCOPED_TRACE("attachment " + std::to_string(i));
        PffItem attachment(store);
        Check(libpff_message_get_attachment(message.get(), i, attachment.out(), nullptr), "get");
        int type = 0;
        Check(libpff_attachment_get_type(attachment.get(), &type, nullptr), "type");
        EXPECT_EQ(type, libpffTypes.at(expected.method));
        EXPECT_EQ(Unicode(attachment.get(), 0x3707001F).value_or(""), expected.longFileName);
        EXPECT_EQ(Unicode(attachment.get(), 0x370E001F).value_or(""), expected.mimeType);
        EXPECT_EQ(Unicode(attachment.get(), 0x3712001F).value_or(""), expected.contentId);
        if (expected.method == Attachment::Method::byValue) {
            EXPECT_EQ(AttachmentBytes(attachment.get()),
                      expected.generatedSize != 0
                          ? GeneratedBytes(expected.generatorSeed, 0, expected.generatedSize)
                          : expected.data);
        }
        if (expected.method != Attachment::Method::embeddedMessage)
            continue;
        // Down the chain of attached messages to the file at the bottom.
        PffItem level(store);
        Check(libpff_attachment_get_item(attachment.get(), level.out(), nullptr), "attached");
        for (const Message *nested = expected.message.get(); nested;) {
            EXPECT_EQ(Unicode(level.get(), 0x0037001F), nested->subject);
            PffItem inner(store);
            Check(libpff_message_get_attachment(level.get(), 0, inner.out(), nullptr), "inner");
            const Attachment &innerWritten = nested->attachments.front();
            if (!innerWritten.message) {
                EXPECT_EQ(AttachmentBytes(inner.get()), innerWritten.data);
                break;
            }
            PffItem next(store);
            Check(libpff_attachment_get_item(inner.get(), next.out(), nullptr), "deeper");
            std::swap(*level.out(), *next.out());
            nested = innerWritten.message.get();
        }
    }
}

TEST_F(MadeStore, SameOptionsGiveTheSameBytes) {
    const std::string again = *folder / "again.pst";
    pstmaker::WriteSampleStore(again, options);
    EXPECT_EQ(folder->read("made.pst"), folder->read("again.pst"));
}

TEST_F(MadeStore, StoreLayerListsFoldersAndMessagesAsWritten) {
    test::TempFolder emptyProfile;
    PffMailStoreLayer layer{emptyProfile.path()};
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    mapi->AddStore(path);
    auto top = mapi->folders()->GetLast();
    EXPECT_EQ(top->name(), "Beispiel-Postfach ✉");
    std::vector<std::string> names;
    for (int i = 1; i <= top->folders()->count(); ++i)
        names.push_back(top->folders()->item(i)->name());
    EXPECT_EQ(names,
              (std::vector<std::string>{"Deleted Items", "Inbox", "Sent Items", "Outbox",
                                        "Projekte Ærø", "Архив 日本", "Calendar", "Contacts"}));

    auto inbox = top->folders()->item(2)->items();
    std::map<int, int> classes;
    for (int i = 1; i <= inbox->count(); ++i)
        ++classes[inbox->item(i)->Class()];
    EXPECT_EQ(classes[outlook::olAppointment], 1);
    EXPECT_EQ(classes[outlook::olContact], 1);

    // The Inbox's first three mail messages: numbers 0, 1 and 2 (plain, HTML, RTF bodies).
    for (std::uint64_t index = 0; index < 3; ++index) {
        SCOPED_TRACE("message " + std::to_string(index));
        const Message written = SampleMailMessage(options, index);
        auto item = inbox->item(static_cast<int>(index) + 1);
        EXPECT_EQ(item->Class(), outlook::olMail);
        EXPECT_EQ(item->Subject(), written.subject);
        EXPECT_EQ(item->SenderName(), written.senderName);
        EXPECT_EQ(item->attachmentCount(), 0);
        std::tm local{};
        const std::time_t delivered = written.deliveryTime;
        localtime_r(&delivered, &local);
        EXPECT_EQ(item->ReceivedTime(),
                  (LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                 local.tm_hour, local.tm_min, local.tm_sec}));
        const std::string saved = item->SavedText(0);
        EXPECT_NE(saved.find("From:\t" + written.senderName), std::string::npos) << saved;
        EXPECT_NE(saved.find("Absatz 1 der Nachricht " + std::to_string(index) +
                             ": Grüße aus Köln, ½ Tasse Tee, naïve café. Привет, 世界!"),
                  std::string::npos)
            << saved;
    }
    EXPECT_EQ(inbox->item(4)->attachmentCount(), 5); // message 3: every kind of attachment
}

TEST(MadeStoreSize, AttachmentBeyondOneBlockListReadsBack) {
    // Nine megabytes need more than one XBLOCK: the data tree gets an XXBLOCK on top.
    test::TempFolder folder;
    const SampleStoreOptions options{4, 3, 9u << 20};
    pstmaker::WriteSampleStore(folder / "large.pst", options);
    LibpffStore store(folder / "large.pst");
    PffItem message(store), attachment(store);
    Check(libpff_folder_get_sub_message(OpenFolder(store, "Inbox"), 3, message.out(), nullptr),
          "message 3");
    Check(libpff_message_get_attachment(message.get(), 0, attachment.out(), nullptr), "file");
    const Attachment written = SampleMailMessage(options, 3).attachments.front();
    EXPECT_EQ(AttachmentBytes(attachment.get()),
              GeneratedBytes(written.generatorSeed, 0, written.generatedSize));
}

} // namespace
} // namespace qb
