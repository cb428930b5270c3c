// Cost of "Start Downloading" per message, apart from its deliberate waits: the clock's sleeps
// and the event pump's waits move a virtual time on at once, so only the store, the naming and
// the file work remain. Runs "All" over the English sample store, one file per message and
// gathered into one file.

#include "export/outlook_download.h"
#include "platform/linux/pff_mail_store.h"
#include "platform/linux/posix_file_system.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using namespace qb;

/// A clock whose time moves only when the run sleeps or waits.
class VirtualClock : public Clock {
  public:
    LocalDateTime now() override {
        const auto whole = static_cast<int>(std::floor(seconds));
        return {2024, 3, 3, whole / 3600 % 24, whole / 60 % 60, whole % 60};
    }
    double secondsSinceMidnight() override { return std::fmod(seconds, 86400.0); }
    void sleep(int milliseconds) override { seconds += milliseconds / 1000.0; }
    double seconds = 14 * 3600.0;
};

class InstantEvents : public EventPump {
  public:
    explicit InstantEvents(VirtualClock &clock) : clock_(clock) {}
    void processEvents() override {}
    void waitForEvents(double maxSeconds) override { clock_.seconds += maxSeconds; }

  private:
    VirtualClock &clock_;
};

class SilentMessageBoxes : public MessageBoxes {
  public:
    MessageAnswer show(const std::string &text, const std::string &, MessageIcon,
                       MessageButtons) override {
        if (text != "Done.")
            std::cerr << "message: " << text << "\n";
        return MessageAnswer::Ok;
    }
};

class NoInput : public InputBoxes {
  public:
    std::string ask(const std::string &, const std::string &, const std::string &preset) override {
        return preset;
    }
};

class NoDialogs : public FileDialogs {
  public:
    std::string open(const FileDialogRequest &) override { return {}; }
    std::string save(const FileDialogRequest &) override { return {}; }
};

class NoPicker : public FolderPicker {
  public:
    std::string browse(WindowModel &, const std::string &, const std::string &) override {
        return {};
    }
};

class MemorySettings : public SettingsStore {
  public:
    std::string read(const std::string &, const std::string &fallback) override { return fallback; }
    void write(const std::string &, const std::string &) override {}
    std::string location() const override { return "memory"; }
};

class NoSpecialFolders : public SpecialFolders {
  public:
    std::string path(int) override { return {}; }
    std::string documents() override { return {}; }
};

class NoProcesses : public Processes {
  public:
    std::vector<ProcessEntry> list() override { return {}; }
    void terminate(int) override {}
};

class EnglishLocale : public TextLocale {
  public:
    std::string shortDate(const LocalDateTime &) override { return {}; }
    std::string longTime(const LocalDateTime &) override { return {}; }
    std::string upper(const std::string &text) override { return text; }
    std::string amDesignator() override { return "AM"; }
    std::string pmDesignator() override { return "PM"; }
};

class NoWindows : public WindowHost {
  public:
    void showModal(WindowModel &) override {}
    std::shared_ptr<PointerImage> loadPointer(const std::string &) override { return nullptr; }
    [[noreturn]] void endProgram() override { std::exit(0); }
};

class PrintedReports : public FailureReporter {
  public:
    void report(const Failure &failure, const std::string &path, int line,
                const std::string &) override {
        std::cerr << "failure at " << path << " line " << line << ": " << failure.what() << "\n";
    }
};

/// Appends one row per mail message beneath the folder, as the message list holds them.
void ListMessages(outlook::Folder &folder, const std::string &topName, ListView &list) {
    const auto items = folder.items();
    for (int index = 1; index <= items->count(); ++index) {
        const auto item = items->item(index);
        if (item->Class() == outlook::olMail)
            list.addRow(
                {"", topName, folder.name(), "", "", "", "", item->Subject(), item->EntryID()});
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

std::string MakeScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "quillbarrow-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch folder");
    return pattern;
}

} // namespace

int main() {
    const fs::path store = fs::path(QB_SAMPLES_DIR) / "english-store.pst";
    if (!fs::exists(store)) {
        std::cerr << "english-store.pst not found under " << QB_SAMPLES_DIR << "\n";
        return 1;
    }
    const std::string scratch = MakeScratchFolder();
    fs::create_directory(scratch + "/profile");
    fs::create_symlink(store, scratch + "/profile/english-store.pst");
    fs::create_directory(scratch + "/out");

    VirtualClock clock;
    InstantEvents events(clock);
    SilentMessageBoxes messageBoxes;
    NoInput inputBoxes;
    NoDialogs fileDialogs;
    NoPicker folderPicker;
    MemorySettings settings;
    NoSpecialFolders specialFolders;
    PosixFileSystem files;
    NoProcesses processes;
    EnglishLocale locale;
    NoWindows windows;
    PrintedReports reporter;
    PffMailStoreLayer layer(scratch + "/profile");
    Platform platform{messageBoxes, inputBoxes, fileDialogs,    folderPicker, events,
                      clock,        settings,   specialFolders, files,        processes,
                      locale,       windows,    layer,          reporter,     scratch};

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
    exporting::OutlookDownload download(platform, {window, Text3, Combo1, Option2, ListView1});

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
            download.PushButton3_Click();
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        std::printf("%-22s %8.3f ms per message\n",
                    oneFile ? "one file (AllEmails):" : "one file per message:",
                    spent.count() / (runs * messages));
    }
    fs::remove_all(scratch);
    return 0;
}
