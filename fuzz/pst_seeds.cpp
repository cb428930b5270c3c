// Writes small Outlook data files into the folder given: seeds from which the Outlook road's
// fuzz target reaches the B-trees, the folder tables, every kind of body, recipients, attachments
// and attached messages, and items that are not mail, each in a store of a few messages. With
// "hostile", it writes stores of about a megabyte that catch work growing faster than the file.
#include "failure/failure.h"
#include "support/pst/pst_sample_store.h"
#include "support/pst/pst_store_writer.h"

#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

using namespace qb::pstmaker;

/// A store whose Inbox holds the sample messages of the given numbers, with attachments of
/// attachmentBytes, and one more in the top folder.
void WriteMessages(const std::string &path, std::initializer_list<std::uint64_t> numbers,
                   std::uint64_t attachmentBytes) {
    const SampleStoreOptions options{0, 1, attachmentBytes};
    PstStoreWriter store(path, "Seed ✉");
    const FolderId inbox = store.addFolder(store.topOfPersonalFolders(), "Inbox");
    for (const std::uint64_t number : numbers)
        store.addMessage(inbox, SampleMailMessage(options, number));
    store.addMessage(store.topOfPersonalFolders(), SampleMailMessage(options, 17));
    store.finish();
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2 && !(argc == 3 && std::string(argv[2]) == "hostile")) {
        std::fprintf(stderr, "usage: %s FOLDER [hostile]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    try {
        if (argc == 3) {
            WriteSampleStore(folder + "/many-messages.pst", {80, 3, 16});
            WriteMessages(folder + "/large-attachments.pst", {3}, 1 << 20);
            return 0;
        }
        // The bodies go by turns: plain, HTML, compressed RTF, and so on.
        WriteMessages(folder + "/bodies.pst", {0, 1, 2, 4, 5}, 16);
        // Message 3 carries files, an attached message nested three deep, an OLE object and a
        // reference to a file elsewhere.
        WriteMessages(folder + "/attachments.pst", {3}, 200);
        WriteMessages(folder + "/empty-inbox.pst", {}, 16);
        // Every sample folder, an appointment and a contact among the mail.
        WriteSampleStore(folder + "/sample-folders.pst", {6, 2, 16});
    } catch (const qb::Failure &failure) {
        std::fprintf(stderr, "%s\n", failure.description().c_str());
        return 1;
    }
    return 0;
}
