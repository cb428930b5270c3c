#pragma once

#include "platform/outlook_api.h"
#include "platform/platform.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qb::test {

/// One message box as it was shown.
struct ShownMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
    MessageButtons buttons;
};

/// Records every message box and answers from a script (Ok, or Yes for Yes/No, when the
/// script has run out).
class ScriptedMessageBoxes : public MessageBoxes {
  public:
    MessageAnswer show(const std::string &text, const std::string &title, MessageIcon icon,
                       MessageButtons buttons) override;
    std::vector<ShownMessage> shown;
    std::deque<MessageAnswer> answers;
    /// Runs while a box is shown, as window events would.
    std::function<void(const ShownMessage &)> whileShown;
    /// Texts of all boxes shown.
    std::vector<std::string> texts() const;
};

struct AskedInput {
    std::string prompt;
    std::string title;
    std::string preset;
};

class ScriptedInputBoxes : public InputBoxes {
  public:
    std::string ask(const std::string &prompt, const std::string &title,
                    const std::string &preset) override;
    std::vector<AskedInput> asked;
    std::deque<std::string> answers; // runs out: the preset is taken
};

class ScriptedFileDialogs : public FileDialogs {
  public:
    std::string open(const FileDialogRequest &request) override;
    std::string save(const FileDialogRequest &request) override;
    std::vector<FileDialogRequest> opened;
    std::vector<FileDialogRequest> saved;
    std::deque<std::string> answers; // runs out: Cancel
};

class ScriptedFolderPicker : public FolderPicker {
  public:
    std::string browse(WindowModel &owner, const std::string &prompt,
                       const std::string &startFolder) override;
    struct Call {
        std::string window;
        std::string prompt;
        std::string startFolder;
    };
    std::vector<Call> calls;
    std::deque<std::string> answers; // runs out: Cancel
};

/// Counts event runs and runs a test's hook in them, as window events would.
class ScriptedEventPump : public EventPump {
  public:
    explicit ScriptedEventPump(class FakeClock *clock = nullptr) : clock_(clock) {}
    void processEvents() override;
    void waitForEvents(double maxSeconds) override;
    int processed = 0;
    int waits = 0;
    std::function<void()> onEvents;

  private:
    FakeClock *clock_;
};

/// A clock set by hand; sleeping and waiting advance it without real time passing.
class FakeClock : public Clock {
  public:
    LocalDateTime now() override { return current; }
    double secondsSinceMidnight() override;
    void sleep(int milliseconds) override;
    /// Moves the clock on, across midnight into the next day when needed.
    void advance(double seconds);
    LocalDateTime current{2024, 3, 3, 14, 5, 9};
    double fraction = 0;
    std::vector<int> sleeps;
};

/// Settings kept in memory; writes can be made to fail.
class MemorySettingsStore : public SettingsStore {
  public:
    std::string read(const std::string &key, const std::string &fallback) override;
    void write(const std::string &key, const std::string &value) override;
    std::string location() const override { return "memory"; }
    std::map<std::string, std::string> values;
    std::vector<std::pair<std::string, std::string>> writes;
    bool failWrites = false;
    bool failReads = false;
};

class FakeSpecialFolders : public SpecialFolders {
  public:
    std::string path(int folderNumber) override;
    std::string documents() override { return documentsFolder; }
    std::string desktop = "/home/user/Desktop";
    std::string documentsFolder = "/home/user/Documents";
};

class FakeProcesses : public Processes {
  public:
    std::vector<ProcessEntry> list() override { return running; }
    void terminate(int processId) override;
    int ownId() override { return ownProcessId; }
    int ownProcessId = 1000;
    std::vector<ProcessEntry> running;
    std::vector<int> terminated;
    std::vector<int> refused; // ids that may not be signalled
};

/// US English: M/d/yyyy, h:mm:ss AP, ASCII upper case plus a few Latin-1 letters.
class FakeLocale : public TextLocale {
  public:
    std::string shortDate(const LocalDateTime &value) override;
    std::string longTime(const LocalDateTime &value) override;
    std::string upper(const std::string &text) override;
    std::string amDesignator() override { return am; }
    std::string pmDesignator() override { return pm; }
    std::string am = "AM";
    std::string pm = "PM";
};

class FileSizeLimit;

/// The file system underneath with writes that fail on demand, as on a disk that fills up.
class FaultyFileSystem : public FileSystem {
  public:
    explicit FaultyFileSystem(FileSystem &disk) : disk_(disk) {}
    std::int64_t modificationTime(const std::string &path) override;
    bool isFolder(const std::string &path) override { return disk_.isFolder(path); }
    std::vector<std::string> listFiles(const std::string &pattern) override;
    std::uint64_t fileSize(const std::string &path) override { return disk_.fileSize(path); }
    std::string readAll(const std::string &path) override { return disk_.readAll(path); }
    void write(const std::string &path, const std::string &bytes) override;
    void append(const std::string &path, const std::string &bytes) override;
    void remove(const std::string &pattern) override { disk_.remove(pattern); }
    void forceRemove(const std::string &pattern) override { disk_.forceRemove(pattern); }
    void createFolders(const std::string &path) override { disk_.createFolders(path); }
    std::string hostPath(const std::string &path) override { return disk_.hostPath(path); }

    /// Writes and appends fail as on a full disk (ENOSPC, with the system's text) and change
    /// nothing.
    bool diskFull = false;
    /// Writes and appends reach the disk, where the file stops growing after this many more
    /// bytes: the process's file size limit makes the system fail the write part-way (EFBIG),
    /// so the file system underneath meets a real fault in the middle of its work.
    std::optional<std::uint64_t> failAfterBytes;
    /// Paths of the writes and appends asked for, whether they failed or not.
    std::vector<std::string> writes;

  private:
    /// Notes the write and fails it on a full disk; the limit the write runs under, if any.
    std::unique_ptr<FileSizeLimit> startWrite(const std::string &path, std::uint64_t sizeBefore);
    FileSystem &disk_;
};

/// Thrown by FakeWindowHost::endProgram so a test sees the program end.
struct ProgramEnded {};

class FakeWindowHost : public WindowHost {
  public:
    void showModal(WindowModel &window) override;
    std::shared_ptr<PointerImage> loadPointer(const std::string &path) override;
    [[noreturn]] void endProgram() override { throw ProgramEnded{}; }
    /// Runs while the window is shown; by default the window is closed at once.
    std::function<void(WindowModel &)> whileShown;
    std::vector<std::string> shownModal;
    std::vector<std::string> loadedPointers;
    /// Cursor files that fail to load, as a damaged file does.
    std::vector<std::string> damagedPointers;
    bool closeAfterShow = true;
};

/// Records every message shown to read, and runs a test's hook while it is shown.
class ScriptedMessageViewer : public MessageViewer {
  public:
    void show(const std::string &title, const std::string &text) override;
    struct Shown {
        std::string title;
        std::string text;
    };
    std::vector<Shown> shown;
    std::function<void(const Shown &)> whileShown;
};

/// Stands for a mail-store layer that cannot be created (no Outlook).
class NoMailStoreLayer : public outlook::MailStoreLayer {
  public:
    std::shared_ptr<outlook::Application> createApplication() override;
};

} // namespace qb::test
