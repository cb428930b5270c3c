#include "support/pst/pst_sample_store.h"

#include "support/pst/pst_property_context.h"
#include "support/pst/pst_store_writer.h"

#include <algorithm>
#include <array>
#include <memory>

namespace qb::pstmaker {
namespace {

constexpr std::int64_t firstDeliveryTime = 1704067200; // 2024-01-01 00:00 UTC
constexpr std::int64_t secondsBetweenMessages = 4513;
constexpr std::size_t inboxFolder = 1;
constexpr std::size_t calendarFolder = 9;
constexpr std::size_t contactsFolder = 10;
constexpr std::uint64_t messagesPerOtherItem = 50;

/// Folder of each of twenty messages in turn: most go to the Inbox.
constexpr std::array<std::size_t, 20> folderCycle = {1, 1, 1, 1, 1, 1, 1, 1, 2, 2,
                                                     3, 5, 5, 6, 7, 8, 8, 0, 1, 1};

struct Person {
    const char *name;
    const char *smtp;
    const char *exchange;
};

constexpr std::array<Person, 6> people = {{
    {"Zoë Ångström", "zoe.angstrom@example.org", "ZOE.ANGSTROM"},
    {"José García", "jose.garcia@example.com", "JOSE.GARCIA"},
    {"Łukasz Żółkiewski", "lukasz.z@example.pl", "LUKASZ.ZOLKIEWSKI"},
    {"Søren Kierkegård", "soren@example.dk", "SOREN.KIERKEGARD"},
    {"Ирина Петрова", "irina.petrova@example.ru", "IRINA.PETROVA"},
    {"山田 太郎", "taro.yamada@example.jp", "TARO.YAMADA"},
}};

constexpr std::array<const char *, 6> subjects = {
    "Quartalsbericht – Übersicht für Jürgen",
    "Réunion de l'équipe à Besançon",
    "Предложение по проекту",
    "会議の議事録",
    "Ψηφοφορία για το έργο",
    "Café & crème brûlée",
};

std::uint64_t Mix(std::uint64_t value) {
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

NamedValue NamedNumber(const Guid &set, std::uint32_t id, std::uint16_t type, Bytes value) {
    NamedValue named;
    named.name.set = set;
    named.name.id = id;
    named.type = type;
    named.value = std::move(value);
    return named;
}

NamedValue NamedString(const Guid &set, std::string name, std::uint16_t type, Bytes value) {
    NamedValue named = NamedNumber(set, 0, type, std::move(value));
    named.name.name = std::move(name);
    return named;
}

std::string ExchangeAddress(const Person &person) {
    return std::string("/O=EXAMPLE ORG/OU=EXCHANGE ADMINISTRATIVE GROUP (FYDIBOHF23SPDLT)"
                       "/CN=RECIPIENTS/CN=") +
           person.exchange;
}

Recipient RecipientOf(const Person &person, Recipient::Kind kind, bool exchange) {
    if (exchange)
        return {kind, person.name, ExchangeAddress(person), "EX", person.smtp};
    return {kind, person.name, person.smtp, "SMTP", ""};
}

std::string Paragraphs(std::uint64_t index, std::uint64_t count) {
    std::string text;
    for (std::uint64_t i = 0; i < count; ++i)
        text += "Absatz " + std::to_string(i + 1) + " der Nachricht " + std::to_string(index) +
                ": Grüße aus Köln, ½ Tasse Tee, naïve café. Привет, 世界!\r\n";
    return text;
}

std::string HtmlOf(const std::string &text) {
    std::string html = "<html><head><meta charset=\"utf-8\"></head><body>";
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        html += "<p>" + text.substr(start, end - start) + "</p>";
    return html + "</body></html>";
}

std::string RtfOf(const std::string &text) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (const char32_t unit : [&] {
             std::u32string codes;
             const Bytes utf16 = Utf16(text);
             for (std::size_t i = 0; i + 1 < utf16.size(); i += 2)
                 codes += static_cast<char32_t>(utf16[i] | (utf16[i + 1] << 8));
             return codes;
         }()) {
        if (unit == '\r')
            continue;
        if (unit == '\n')
            rtf += "\\par\r\n";
        else if (unit == '\\' || unit == '{' || unit == '}')
            rtf += std::string("\\") + static_cast<char>(unit);
        else if (unit < 0x80)
            rtf += static_cast<char>(unit);
        else
            rtf += "\\u" + std::to_string(static_cast<std::int16_t>(unit)) + "?";
    }
    return rtf + "}";
}

void SetBodies(Message &message, std::uint64_t index) {
    const std::string text = Paragraphs(index, 1 + (index * 7) % 60);
    switch (index % 6) {
    case 0:
    case 3:
        message.plainBody = text;
        break;
    case 1:
    case 4:
        message.htmlBody = HtmlOf(text);
        message.htmlAsText = index % 2 == 0;
        break;
    case 2:
        message.rtfBody = RtfOf(text);
        break;
    default:
        message.rtfBody = RtfOf(text);
        message.plainBody = text;
        break;
    }
}

Attachment FileAttachment(const SampleStoreOptions &options, std::uint64_t index) {
    Attachment file;
    file.longFileName = "Übersicht " + std::to_string(index) + " – Bericht.pdf";
    file.shortFileName = "UBERSI~1.PDF";
    file.displayName = file.longFileName;
    file.mimeType = "application/pdf";
    file.generatorSeed = options.seed * 1000003 + index;
    file.generatedSize = options.attachmentBytes != 0
                             ? options.attachmentBytes
                             : 2048 + Mix(options.seed ^ (index << 20)) % 300000;
    return file;
}

/// A message nested `depth` levels deep: each attaches the next, the last a small file.
std::shared_ptr<const Message> NestedMessage(std::uint64_t index, int depth) {
    auto nested = std::make_shared<Message>();
    nested->subject =
        "Weitergeleitet (Ebene " + std::to_string(depth) + ") – Nachricht " + std::to_string(index);
    nested->senderName = people[3].name;
    nested->senderAddress = people[3].smtp;
    nested->recipients = {RecipientOf(people[4], Recipient::Kind::to, false)};
    nested->plainBody = "Eingebettete Nachricht, Ebene " + std::to_string(depth) + ". Ærø.\r\n";
    nested->deliveryTime = firstDeliveryTime + static_cast<std::int64_t>(index);
    nested->submitTime = nested->deliveryTime;
    Attachment inner;
    if (depth < 3) {
        inner.method = Attachment::Method::embeddedMessage;
        inner.displayName = "Ebene " + std::to_string(depth + 1);
        inner.message = NestedMessage(index, depth + 1);
    } else {
        inner.longFileName = "tiefste Datei ß.txt";
        inner.shortFileName = "TIEFST~1.TXT";
        inner.data = "ganz unten\r\n";
    }
    nested->attachments.push_back(std::move(inner));
    return nested;
}

void AddAttachments(Message &message, const SampleStoreOptions &options, std::uint64_t index) {
    if (index % 10 != 3)
        return;
    message.attachments.push_back(FileAttachment(options, index));
    if (index % 20 == 3) {
        Attachment image;
        image.longFileName = "Grafik ü " + std::to_string(index) + ".png";
        image.shortFileName = "GRAFIK~1.PNG";
        image.mimeType = "image/png";
        image.contentId = "bild" + std::to_string(index) + "@example.org";
        image.data = GeneratedBytes(index, 0, 700);
        message.attachments.push_back(std::move(image));
    }
    if (index % 30 == 3) {
        Attachment embedded;
        embedded.method = Attachment::Method::embeddedMessage;
        embedded.displayName = "Weitergeleitete Nachricht";
        embedded.message = NestedMessage(index, 1);
        message.attachments.push_back(std::move(embedded));
    }
    if (index % 40 == 3) {
        Attachment ole;
        ole.method = Attachment::Method::oleObject;
        ole.displayName = "Zeichnung Öl";
        ole.data = GeneratedBytes(index + 1, 0, 1500);
        message.attachments.push_back(std::move(ole));
        Attachment reference;
        reference.method = Attachment::Method::byReference;
        reference.longFileName = "Protokoll Ä.docx";
        reference.displayName = reference.longFileName;
        reference.pathName = "\\\\server\\freigabe\\Protokoll Ä.docx";
        message.attachments.push_back(std::move(reference));
    }
}

} // namespace

const std::vector<std::string> &SampleFolderPaths() {
    static const std::vector<std::string> paths = {
        "",
        "Inbox",
        "Sent Items",
        "Deleted Items",
        "Outbox",
        "Projekte Ærø",
        "Projekte Ærø/2024 – Über",
        "Projekte Ærø/2024 – Über/Inbox",
        "Архив 日本",
        "Calendar",
        "Contacts",
    };
    return paths;
}

std::size_t SampleFolderOf(std::uint64_t index) {
    return folderCycle[index % folderCycle.size()];
}

Message SampleMailMessage(const SampleStoreOptions &options, std::uint64_t index) {
    Message message;
    const bool reply = index % 7 == 5;
    message.subject = std::string(reply ? "RE: " : "") + subjects[index % subjects.size()] + " #" +
                      std::to_string(index);
    message.subjectMarker = index % 14 == 5;
    const Person &sender = people[index % people.size()];
    const bool exchangeSender = index % 2 == 1;
    message.senderName = sender.name;
    message.senderAddress = exchangeSender ? ExchangeAddress(sender) : sender.smtp;
    message.senderAddressType = exchangeSender ? "EX" : "SMTP";
    message.senderSmtpAddress = exchangeSender ? sender.smtp : "";
    message.recipients.push_back(
        RecipientOf(people[(index + 1) % people.size()], Recipient::Kind::to, index % 4 == 0));
    if (index % 2 == 0)
        message.recipients.push_back(
            RecipientOf(people[(index + 2) % people.size()], Recipient::Kind::to, false));
    if (index % 3 == 0)
        message.recipients.push_back(
            RecipientOf(people[(index + 3) % people.size()], Recipient::Kind::cc, true));
    if (index % 5 == 0)
        message.recipients.push_back(
            RecipientOf(people[(index + 4) % people.size()], Recipient::Kind::bcc, false));
    SetBodies(message, index);
    message.deliveryTime =
        firstDeliveryTime + static_cast<std::int64_t>(index) * secondsBetweenMessages;
    message.submitTime = message.deliveryTime - 90;
    const std::string id = std::to_string(index) + "." + std::to_string(options.seed);
    message.internetMessageId = "<" + id + "@mail.example.org>";
    if (reply) {
        message.inReplyTo = "<" + std::to_string(index - 1) + "." + std::to_string(options.seed) +
                            "@mail.example.org>";
        message.references = message.inReplyTo;
    }
    message.transportHeaders = "Received: from mx.example.org by mail.example.com\r\n"
                               "Message-ID: " +
                               message.internetMessageId +
                               "\r\nMIME-Version: 1.0\r\nX-Mailer: Quillbarrow sample\r\n";
    message.read = index % 4 != 1;
    message.namedValues.push_back(NamedString(property_set::internetHeaders, "x-mailer",
                                              property_type::unicode,
                                              UnicodeValue("Quillbarrow sample ✓")));
    AddAttachments(message, options, index);
    return message;
}

Message SampleAppointment(std::uint64_t index) {
    Message appointment;
    appointment.messageClass = "IPM.Appointment";
    appointment.subject = "Besprechung – Raum Ölberg " + std::to_string(index);
    appointment.plainBody = "Tagesordnung: Überblick, Fragen.\r\n";
    const std::int64_t start = firstDeliveryTime + static_cast<std::int64_t>(index) * 86400;
    appointment.deliveryTime = start - 7 * 86400;
    appointment.namedValues = {
        NamedNumber(property_set::appointment, 0x820D, property_type::time, TimeValue(start)),
        NamedNumber(property_set::appointment, 0x820E, property_type::time,
                    TimeValue(start + 3600)),
        NamedNumber(property_set::appointment, 0x8208, property_type::unicode,
                    UnicodeValue("Zürich, Raum 3"))};
    return appointment;
}

Message SampleContact(std::uint64_t index) {
    Message contact;
    contact.messageClass = "IPM.Contact";
    const std::string name = "Ingrid Øster " + std::to_string(index);
    contact.subject = name;
    contact.deliveryTime = firstDeliveryTime;
    contact.taggedValues = {{0x3001001F, UnicodeValue(name)},
                            {0x3A06001F, UnicodeValue("Ingrid")},
                            {0x3A11001F, UnicodeValue("Øster")},
                            {0x3A16001F, UnicodeValue("Fjord & Söhne AS")}};
    contact.namedValues = {
        NamedNumber(property_set::address, 0x8083, property_type::unicode,
                    UnicodeValue("ingrid" + std::to_string(index) + "@example.no"))};
    return contact;
}

SampleStoreSummary WriteSampleStore(const std::string &path, const SampleStoreOptions &options) {
    PstStoreWriter store(path, "Beispiel-Postfach ✉");
    std::vector<FolderId> folders;
    std::vector<std::string> paths;
    for (const std::string &folderPath : SampleFolderPaths()) {
        const auto slash = folderPath.rfind('/');
        const std::string parentPath =
            slash == std::string::npos ? "" : folderPath.substr(0, slash);
        const std::string name = folderPath.substr(slash == std::string::npos ? 0 : slash + 1);
        const FolderId parent =
            folders.empty()
                ? store.topOfPersonalFolders()
                : folders[static_cast<std::size_t>(
                      std::find(paths.begin(), paths.end(), parentPath) - paths.begin())];
        FolderId folder = parent;
        if (folderPath == "Deleted Items")
            folder = store.deletedItems();
        else if (!folderPath.empty())
            folder = store.addFolder(parent, name,
                                     name == "Calendar"   ? FolderKind::calendar
                                     : name == "Contacts" ? FolderKind::contacts
                                                          : FolderKind::mail);
        folders.push_back(folder);
        paths.push_back(folderPath);
    }
    SampleStoreSummary summary;
    summary.folders = folders.size() - 1;
    for (std::uint64_t index = 0; index < options.mailMessages; ++index)
        store.addMessage(folders[SampleFolderOf(index)], SampleMailMessage(options, index));
    summary.mailMessages = options.mailMessages;
    // One of each kind lies in the Inbox among the mail, the others in their own folders.
    const std::uint64_t others = 1 + options.mailMessages / messagesPerOtherItem;
    for (std::uint64_t index = 0; index <= others; ++index) {
        const bool amongMail = index == others;
        store.addMessage(folders[amongMail ? inboxFolder : calendarFolder],
                         SampleAppointment(index));
        store.addMessage(folders[amongMail ? inboxFolder : contactsFolder], SampleContact(index));
    }
    summary.otherItems = 2 * (others + 1);
    store.finish();
    return summary;
}

} // namespace qb::pstmaker
