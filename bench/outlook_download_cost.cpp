// Cost of "Start Downloading" per message, apart from its deliberate waits: the clock's sleeps
// and the event pump's waits move a virtual time on at once, so only the store, the naming and
// the file work remain. Runs "All" over the English sample store, one file per message and
// gathered into one file.

#include "export/outlook_download.h"
#include "pst/pff_mail_store.h"
#include "support/test_platform.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using namespace qb;

/// Appends one row per mail message beneath the folder, as the message list holds them.
void ListMessages(outlook::Folder &folder, const std::string &topName, ListView &list) {
    const auto items = folder.items();
    for (int index = 1; index <= items->count(); ++index) {
        const auto item = items->item(index);
        if (item->Class() == outlook::olMail)
            list.addRow({"", topName, folder.name() == topName ? "" : folder.name(), "", "", "", "",
                         item->Subject(), item->EntryID()});
    }
    const auto children = folder.folders();
    for (int index = 1; index <= children->count(); ++index)
        ListMessages(*children->item(index), topName, list);
}

void ListStore(outlook::MailStoreLayer &layer, ListView &list) {
    const auto roots = layer.createApplication()->GetNamespace("MAPI")->folders();
    for (int root = 1; root <= roots->count(); ++root) {
        const auto tops = roots->item(root)->folders();
        for (int top = 1; top <= tops->count(); ++top) {
            const auto folder = tops->item(top);
            ListMessages(*folder, folder->name(), list);
        }
    }
}

} // namespace

int main() {
    const fs::path store = fs::path(test::SamplesFolder()) / "english-store.pst";
    if (!fs::exists(store)) {
        std::cerr << "english-store.pst not found under ../shared/samples\n";
        return 1;
    }
    // The tests' stand-ins: a clock that moves on at once when the run sleeps or waits, message
    // boxes that answer by themselves, and the real file system.
    test::TestPlatform stand_ins;
    const std::string scratch = stand_ins.folder.path();
    fs::create_directory(scratch + "/profile");
    fs::create_symlink(store, scratch + "/profile/english-store.pst");
    fs::create_directory(scratch + "/out");
    PffMailStoreLayer layer(scratch + "/profile");
    Platform platform = stand_ins.withMailStores(layer);

    WindowModel window("Form1", 100, 100);
    TextBox Text3("Text3", {});
    ComboBox Combo1("Combo1", {});
    OptionButton Option1("Option1", "", {});
    OptionButton Option2("Option2", "", {});
    ListView ListView1("ListView1", {});
    OptionButton::group({&Option1, &Option2});
    Text3.setText(scratch + "/out/");
    Combo1.addItem("Checked Items");
    Combo1.addItem("All");
    Combo1.setListIndex(1);
    ListStore(layer, ListView1);
    exporting::OutlookDownload download({layer, platform.files, platform.clock, platform.events,
                                         platform.locale, platform.inputBoxes, platform.messages,
                                         platform.reporter},
                                        {window, Text3, Combo1, Option2, ListView1});

    const int runs = 20;
    const int messages = ListView1.rowCount();
    std::printf("english-store.pst through libpff, \"All\": %d messages, %d runs per mode\n",
                messages, runs);
    for (const bool oneFile : {false, true}) {
        if (oneFile)
            Option2.setValue(true);
        else
            Option1.setValue(true);
        const auto start = std::chrono::steady_clock::now();
        for (int run = 0; run < runs; ++run)
            download.saveChosenMessages();
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        std::printf("%-22s %8.3f ms per message\n",
                    oneFile ? "one file (AllEmails):" : "one file per message:",
                    spent.count() / (runs * messages));
    }
    for (const std::string &report : stand_ins.reports())
        std::printf("report: %s\n", report.c_str());
    return 0;
}
