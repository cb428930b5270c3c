#pragma once

#include "export/outlook_download.h"

#include "support/test_platform.h"

#include <string>
#include <vector>

namespace qb::exporting::test_support {

/// The controls of the main window that "Start Downloading" reads.
struct DownloadControlModels {
    DownloadControls controls() { return {window, Text3, Combo1, Option2, ListView1}; }

    WindowModel window{"Form1", 100, 100};
    TextBox Text3{"Text3", {}};
    ComboBox Combo1{"Combo1", {}};
    OptionButton Option1{"Option1", "", {}};
    OptionButton Option2{"Option2", "", {}};
    ListView ListView1{"ListView1", {}};
};

/// The download's facilities: the stand-ins of the test platform over the given mail stores.
DownloadFacilities FacilitiesOver(qb::test::TestPlatform &t, outlook::MailStoreLayer &stores);

/// The main window's download controls over a TestPlatform, with an output folder "out/" and
/// a list view whose rows the tests add.
class DownloadFixture : public DownloadControlModels {
  public:
    DownloadFixture();

    /// Adds a message to the memory store under root/folder[/subfolder] and a row for it.
    int addMessage(const std::string &folder, const std::string &subfolder,
                   const std::string &subject, bool checked = false);
    /// Adds a row whose EntryID no store knows.
    int addVanishedRow(const std::string &folder, const std::string &subject, bool checked);
    /// Chooses the Combo1 item with that text.
    void choose(const std::string &item);
    /// Clicks "Start Downloading".
    void click() { download.saveChosenMessages(); }

    /// Names of the files in the output folder, sorted.
    std::vector<std::string> outputFiles() const { return qb::test::FileNamesIn(outputFolder); }
    /// Line numbers of the failure reports shown, in order.
    std::vector<int> reportedLines() const;
    /// Texts of the message boxes other than failure reports.
    std::vector<std::string> messages() const { return t.messageTexts(); }

    qb::test::TestPlatform t;
    std::string outputFolder;
    OutlookDownload download{FacilitiesOver(t, t.outlook), controls()};

  private:
    qb::test::MemoryFolder &folderFor(const std::string &folder, const std::string &subfolder);
    int nextId_ = 1;
};

} // namespace qb::exporting::test_support
