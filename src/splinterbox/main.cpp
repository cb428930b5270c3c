// Splinterbox: turns an Outlook Express message database into one .eml file per message.

#include "dbx/conversion.h"
#include "failure/failure.h"
#include "version/program_version.h"

#include <cstring>
#include <iostream>

namespace {

enum ExitCode { allWritten = 0, messagesLost = 1, unusable = 2 };

constexpr const char *usage =
    R"(Usage: Splinterbox DBX-FILE OUTPUT-FOLDER

Writes every message of an Outlook Express 5 or 6 message database (.dbx) as one
.eml file, byte for byte as stored, directly into OUTPUT-FOLDER. The files are
named after the database and each message's place in it (Inbox-00001.eml, ...);
a name already taken is never replaced: the next free one (Inbox-00001-2.eml)
is used instead.

Damage does not stop the conversion: every message that can be read whole is
written, and each one that cannot is named on the error output.

Exit status:
  0  every message was written; also for an empty mailbox and for databases that
     hold no messages (Folders.dbx, Pop3uidl.dbx, offline.dbx)
  1  some messages could not be read whole and were not written
  2  the command line is wrong, the file cannot be read or is no database, or
     the folder cannot be written
)";

} // namespace

int main(int argc, char **argv) {
    if (qb::PrintVersionWhenAsked(argc, argv, "Splinterbox"))
        return allWritten;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << usage;
        return allWritten;
    }
    if (argc != 3) {
        std::cerr << usage;
        return unusable;
    }
    try {
        const auto summary = qb::dbx::ConvertMailbox(argv[1], argv[2], std::cerr);
        if (summary.kind == qb::dbx::DatabaseKind::NotDbx)
            return unusable;
        if (!summary.whole()) {
            std::cerr << "Splinterbox: " << summary.written << " messages written, "
                      << summary.damaged << " damaged";
            if (summary.unreachable > 0)
                std::cerr << ", " << summary.unreachable << " out of reach";
            std::cerr << "\n";
            return messagesLost;
        }
        return allWritten;
    } catch (const qb::Failure &failure) {
        std::cerr << "Splinterbox: " << failure.description() << "\n";
        return unusable;
    }
}
