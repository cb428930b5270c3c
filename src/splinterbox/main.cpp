// Splinterbox: turns an Outlook Express message database into one .eml file per message.

#include "dbx/conversion.h"
#include "failure/failure.h"
#include "files/stop_signals.h"
#include "version/program_version.h"

#include <cstring>
#include <iostream>

namespace {

enum ExitCode { allWritten = 0, messagesLost = 1, unusable = 2 };

constexpr const char *usage =
    R"(Usage: Splinterbox DBX-FILE OUTPUT-FOLDER
       Splinterbox --help | --version

Writes every message of an Outlook Express 5 or 6 message database (.dbx) as one
.eml file, byte for byte as stored, directly into OUTPUT-FOLDER. The files are
named after the database and each message's place in it (Inbox-00001.eml, ...);
a name already taken is never replaced: the next free one (Inbox-00001-2.eml)
is used instead.

Damage does not stop the conversion: every message that can be read whole is
written, once, and each one that cannot is named on the error output. Fields
that only repeat what the rest of the file shows (an object's own offset, a
block's size) are checked, and a disagreement is reported but costs nothing.
When the database's index is damaged, the whole file is searched for messages;
they are then numbered in the order they lie in the file.

Every file is written under a hidden name and renamed when whole. SIGINT,
SIGTERM and SIGHUP stop the conversion after the message being written; hidden
files that killed conversions left in OUTPUT-FOLDER are removed at the start.

Options:
  -h, --help     show this text
  -V, --version  show the version

Exit status:
  0  every message found was written, even if damage was reported; also for an
     empty mailbox and for databases that hold no messages (Folders.dbx,
     Pop3uidl.dbx, offline.dbx)
  1  some messages are damaged and were not written, or damage hides messages:
     a part of the index cannot be read, or no message can be found without it
  2  the command line is wrong, the file cannot be read, is no regular file
     (a FIFO or a device is refused without waiting on it) or is no database,
     or the folder cannot be written
  130, 143, 129  SIGINT, SIGTERM or SIGHUP stopped the conversion
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
        const qb::files::StopSignals stop;
        const auto summary = qb::dbx::ConvertMailbox(argv[1], argv[2], std::cerr,
                                                     [&] { return stop.stopRequested(); });
        if (summary.stopped)
            return stop.exitCode();
        if (summary.kind == qb::dbx::DatabaseKind::NotDbx)
            return unusable;
        if (!summary.whole()) {
            std::cerr << "Splinterbox: " << summary.read << " messages written, " << summary.damaged
                      << " damaged";
            if (summary.unreachable > 0)
                std::cerr << ", more lost where the index is damaged (" << summary.unreachable
                          << (summary.unreachable == 1 ? " place)" : " places)");
            std::cerr << "\n";
            return messagesLost;
        }
        return allWritten;
    } catch (const qb::Failure &failure) {
        std::cerr << "Splinterbox: " << failure.description() << "\n";
        return unusable;
    }
}
