// The floor of any export that reads Outlook data files through libpff: it opens each store
// named on the command line, walks every folder, and reads the property set of every message
// and of every attachment (which holds the attachment's name), as an export must, and writes
// nothing. bench/export_speed.sh times it beside quillbarrow-export.
//
//   pff_read_floor STORE.pst...

#include "pst/pff_children.h"

#include <libpff.h>

#include <cstdio>

namespace {

/// Frees a libpff item when the walk leaves it.
struct Item {
    libpff_item_t *item = nullptr;
    ~Item() { libpff_item_free(&item, nullptr); }
};

long messagesRead = 0;

void ReadPropertySet(libpff_item_t *item) {
    int sets = 0;
    libpff_item_get_number_of_record_sets(item, &sets, nullptr);
}

/// Visits every child of one kind that libpff can give.
template <typename Visit>
void ForEachChild(libpff_item_t *parent, const qb::PffChildKind &kind, Visit visit) {
    int count = 0;
    kind.count(parent, &count, nullptr);
    for (int index = 0; index < count; ++index) {
        Item child;
        if (kind.child(parent, index, &child.item, nullptr) == 1)
            visit(child.item);
    }
}

void ReadMessage(libpff_item_t *message) {
    ReadPropertySet(message);
    ForEachChild(message, qb::pffAttachments, ReadPropertySet);
    ++messagesRead;
}

void Walk(libpff_item_t *folder) {
    ForEachChild(folder, qb::pffSubfolders, Walk);
    ForEachChild(folder, qb::pffMessages, ReadMessage);
}

} // namespace

int main(int argc, char **argv) {
    for (int argument = 1; argument < argc; ++argument) {
        libpff_file_t *file = nullptr;
        libpff_file_initialize(&file, nullptr);
        if (libpff_file_open(file, argv[argument], LIBPFF_OPEN_READ, nullptr) == 1) {
            Item root;
            if (libpff_file_get_root_folder(file, &root.item, nullptr) == 1)
                Walk(root.item);
            libpff_file_close(file, nullptr);
        } else {
            std::fprintf(stderr, "pff_read_floor: cannot open %s\n", argv[argument]);
        }
        libpff_file_free(&file, nullptr);
    }
    std::printf("%ld items read as messages\n", messagesRead);
}
