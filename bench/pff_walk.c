/* The floor of the library: a bare C walk over libpff that reads what a message row of the
 * listing shows (class, subject, sender name and address, delivery time, attachment count) for
 * every message of every folder, with --bodies the plain-text body too, as Find does, and with
 * --attachments the data size of every attachment, as a listing of attachments does. No
 * code of the project is used, so its figures say what libpff itself costs.
 *
 *   pff_walk [--bodies] [--attachments] STORE.pst
 *
 * Prints the number of messages, the seconds libpff_file_open took (it builds the whole item
 * tree of the file) and the seconds of the whole walk. */
#include <libpff.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

struct walk_count {
    long messages;
    long folders;
    size_t bytes; /* keeps the reads from being optimised away */
};

static int read_bodies = 0;
static int read_attachments = 0;
static uint8_t text[1 << 16];

static void read_string(libpff_item_t *message, uint32_t entry, struct walk_count *count) {
    if (libpff_message_get_entry_value_utf8_string(message, entry, text, sizeof text, NULL) == 1)
        count->bytes += strlen((const char *)text);
}

static void read_message(libpff_item_t *message, struct walk_count *count) {
    uint64_t time = 0;
    int attachments = 0;
    read_string(message, LIBPFF_ENTRY_TYPE_MESSAGE_CLASS, count);
    read_string(message, LIBPFF_ENTRY_TYPE_MESSAGE_SUBJECT, count);
    read_string(message, LIBPFF_ENTRY_TYPE_MESSAGE_SENDER_NAME, count);
    read_string(message, LIBPFF_ENTRY_TYPE_MESSAGE_SENDER_EMAIL_ADDRESS, count);
    libpff_message_get_delivery_time(message, &time, NULL);
    libpff_message_get_number_of_attachments(message, &attachments, NULL);
    count->bytes += (size_t)(time & 1) + (size_t)attachments;
    if (read_bodies) {
        size_t size = 0;
        if (libpff_message_get_plain_text_body_size(message, &size, NULL) == 1 && size > 0) {
            uint8_t *body = malloc(size);
            if (body && libpff_message_get_plain_text_body(message, body, size, NULL) == 1)
                count->bytes += size;
            free(body);
        }
    }
    if (read_attachments) {
        for (int i = 0; i < attachments; i++) {
            libpff_item_t *attachment = NULL;
            size64_t size = 0;
            if (libpff_message_get_attachment(message, i, &attachment, NULL) == 1) {
                libpff_attachment_get_data_size(attachment, &size, NULL);
                count->bytes += (size_t)(size & 1);
                libpff_item_free(&attachment, NULL);
            }
        }
    }
    count->messages++;
}

static void walk_folder(libpff_item_t *folder, struct walk_count *count) {
    int messages = 0, folders = 0;
    count->folders++;
    libpff_folder_get_number_of_sub_messages(folder, &messages, NULL);
    for (int i = 0; i < messages; i++) {
        libpff_item_t *message = NULL;
        if (libpff_folder_get_sub_message(folder, i, &message, NULL) == 1) {
            read_message(message, count);
            libpff_item_free(&message, NULL);
        }
    }
    libpff_folder_get_number_of_sub_folders(folder, &folders, NULL);
    for (int i = 0; i < folders; i++) {
        libpff_item_t *child = NULL;
        if (libpff_folder_get_sub_folder(folder, i, &child, NULL) == 1) {
            walk_folder(child, count);
            libpff_item_free(&child, NULL);
        }
    }
}

static double seconds_between(const struct timespec *from, const struct timespec *to) {
    return (double)(to->tv_sec - from->tv_sec) + (double)(to->tv_nsec - from->tv_nsec) / 1e9;
}

int main(int argc, char **argv) {
    const char *path = NULL;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--bodies") == 0)
            read_bodies = 1;
        else if (strcmp(argv[i], "--attachments") == 0)
            read_attachments = 1;
        else
            path = argv[i];
    }
    if (!path) {
        fprintf(stderr, "usage: pff_walk [--bodies] [--attachments] STORE.pst\n");
        return 2;
    }
    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    libpff_file_t *file = NULL;
    libpff_item_t *root = NULL;
    if (libpff_file_initialize(&file, NULL) != 1 ||
        libpff_file_open(file, path, LIBPFF_OPEN_READ, NULL) != 1 ||
        libpff_file_get_root_folder(file, &root, NULL) != 1) {
        fprintf(stderr, "pff_walk: %s cannot be opened\n", path);
        return 1;
    }
    struct timespec opened;
    clock_gettime(CLOCK_MONOTONIC, &opened);
    struct walk_count count = {0, 0, 0};
    walk_folder(root, &count);
    libpff_item_free(&root, NULL);
    libpff_file_close(file, NULL);
    libpff_file_free(&file, NULL);
    clock_gettime(CLOCK_MONOTONIC, &end);
    printf("%ld messages in %ld folders, %.2f s, of which opening %.2f s (%zu bytes read)\n",
           count.messages, count.folders, seconds_between(&start, &end),
           seconds_between(&start, &opened), count.bytes);
    return 0;
}
