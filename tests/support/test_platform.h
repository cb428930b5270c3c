#pragma once

#include "app/report.h"
#include "mime/gmime_mime_reader.h"
#include "platform/linux/posix_file_system.h"
#include "platform/linux/posix_program_runner.h"
#include "platform/platform.h"
#include "support/fakes.h"
#include "support/memory_outlook.h"
#include "wine/wine_registry.h"

#include <filesystem>
#include <string>

namespace qb::test {

/// A scratch folder that is removed again when the test ends.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    /// The folder's path, without a final "/".
    const std::string &path() const { return path_; }
    /// The path of a name inside the folder.
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }
    void write(const std::string &name, const std::string &bytes) const;
    std::string read(const std::string &name) const;

  private:
    std::string path_;
};

/// The names of the files and folders directly in folder, sorted.
std::vector<std::string> FileNamesIn(const std::string &folder);
/// Every path below folder, relative to it, sorted.
std::vector<std::string> TreeOf(const std::string &folder);

/// Every facility of the program as a scripted stand-in, over a real scratch folder that plays
/// the program folder (its "work" subfolder plays the work folder). Tests change the stand-ins'
/// fields and hand `platform` to the logic.
struct TestPlatform {
    TestPlatform();

    TempFolder folder;
    ScriptedMessageBoxes messageBoxes;
    ScriptedInputBoxes inputBoxes;
    ScriptedFileDialogs fileDialogs;
    ScriptedFolderPicker folderPicker;
    FakeClock clock;
    ScriptedEventPump events{&clock};
    MemorySettingsStore settings;
    FakeSpecialFolders specialFolders;
    PosixFileSystem disk;
    /// The real file system over the scratch folder, with faults a test can switch on.
    FaultyFileSystem files{disk};
    FakeProcesses processes;
    FakeLocale locale;
    FakeWindowHost windows;
    ScriptedMessageViewer viewer;
    MemoryMailStoreLayer outlook;
    GmimeMimeReader mime;
    /// A registry without a Wine prefix: no key opens.
    WineRegistry registry{folder / "no Wine prefix", "user"};
    PosixProgramRunner programs;
    ErrorReport reporter{messageBoxes};
    Platform platform;

    /// The failure reports shown so far, as texts.
    std::vector<std::string> reports() const;
    /// The texts of the other message boxes shown so far.
    std::vector<std::string> messageTexts() const;

    /// The same stand-ins over another mail store layer, such as the real one.
    Platform withMailStores(outlook::MailStoreLayer &stores);
};

/// Path of the sample files from outside (../shared/samples), or empty when they are absent. For
/// the benchmarks: a test reaches them through RequireSamples (support/sample_files.h), which
/// labels, skips and fails it as the suite requires.
std::string SamplesFolder();

} // namespace qb::test
