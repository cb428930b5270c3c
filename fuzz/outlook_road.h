#pragma once

// The whole Outlook road over one input taken as an Outlook data file: libpff opens it, the
// window's listing walks it and fills its message list, and every listed message is rendered
// as the window's download renders it (SaveAs as text, found again by its EntryID) and every
// message the command line takes as the command line renders it (mail::RenderedText).

#include "failure/failure.h"
#include "mail/mail_walk.h"
#include "mail/message_reading.h"
#include "mail/message_rendering.h"
#include "outlook/message_columns.h"
#include "outlook/outlook_listing.h"
#include "platform/linux/posix_file_system.h"
#include "pst/pff_mail_store.h"
#include "support/fakes.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qb::fuzz {

/// Keeps nothing of what it hears: a failure the walk reports is the store's damage, not a
/// finding.
class IgnoredFailures : public FailureReporter {
  public:
    void report(const Failure &, const std::string &, int, const std::string &) override {}
};

/// Renders every message the command line's walk takes, the top folder's too, as the command
/// line writes it.
class CommandLineRendering : public mail::MessageTaker {
  public:
    void enteredTopFolder(const std::string &) override {}
    void take(Guard &, const mail::WalkPlace &, outlook::Folder &, outlook::Item &item) override {
        try {
            const auto message = item.message();
            mail::ReceivedTime(*message);
            mail::RenderedText(*message);
        } catch (const Failure &) {
        }
    }
};

/// The window's listing of the file at path, with the window's facilities scripted: nothing
/// waits, no box waits for an answer.
struct WindowListing {
    explicit WindowListing(const std::string &path) {
        OptionButton::group({&Option3, &Option4});
        Option4.setValue(true);
        Text2.setText(path);
    }

    IgnoredFailures reporter;
    test::FakeClock clock;
    test::ScriptedEventPump events{&clock};
    test::FakeLocale locale;
    test::ScriptedMessageBoxes boxes;
    TitledMessageBoxes messages{boxes};
    test::ScriptedFileDialogs dialogs;
    PosixFileSystem files;
    PffMailStoreLayer stores{""};
    WindowModel window{"Form1", 12000, 9000};
    TextBox Text1{"Text1", {}};
    TextBox Text2{"Text2", {}};
    OptionButton Option3{"Option3", "Outlook", {}};
    OptionButton Option4{"Option4", "PST File:", {}};
    ListView ListView1{"ListView1", {}};
    outlook::OutlookListing listing{
        {reporter, events, clock, locale, messages, dialogs, files, stores, ""},
        {window, Text1, Text2, Option3, Option4, ListView1}};
};

/// Renders each listed row's message as the window's download does: found by the row's EntryID
/// in a connection of its own, then saved as text.
inline void RenderListedRows(WindowListing &listed, const std::string &path) {
    const auto mapi = listed.stores.createApplication()->GetNamespace("MAPI");
    mapi->AddStore(path);
    const int idCell = outlook::SubItemOf(outlook::MessageColumn::Id) + 1;
    for (int row = 1; row <= listed.ListView1.rowCount(); ++row) {
        try {
            mapi->GetItemFromID(std::string(listed.ListView1.cell(row, idCell)))
                ->SavedText(outlook::olTXT);
        } catch (const Failure &) {
        }
    }
}

/// Walks the file at path as the command line does and renders what it takes.
inline void RenderAsTheCommandLine(const std::string &path) {
    PffMailStoreLayer stores("");
    const auto mapi = stores.createApplication()->GetNamespace("MAPI");
    mapi->AddStore(path);
    IgnoredFailures reporter;
    test::FakeClock clock;
    test::ScriptedEventPump events{&clock};
    CommandLineRendering rendering;
    mail::WalkScope scope;
    scope.topFolderMail = mail::TopFolderMail::Taken;
    mail::MailWalk walk({reporter, events}, scope, rendering);
    walk.walkStore(mapi->folders()->GetLast(), path);
}

/// The input as a .pst file in folder, searched, listed and rendered; what it leaves in folder
/// is the caller's to remove.
inline void ReadOutlookStore(std::string_view bytes, const std::filesystem::path &folder) {
    const std::string path = (folder / "input.pst").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            throw std::runtime_error("cannot write " + path);
    }
    WindowListing listed(path);
    // Find reads every body: searched for words no message holds, it reads them all.
    listed.Text1.setText("no such words anywhere");
    listed.listing.findMessages();
    listed.listing.listMessages();
    try {
        RenderListedRows(listed, path);
        RenderAsTheCommandLine(path);
    } catch (const Failure &) {
    }
}

} // namespace qb::fuzz
