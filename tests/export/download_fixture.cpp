#include "download_fixture.h"

#include <algorithm>
#include <filesystem>
#include <regex>

namespace qb::exporting::test_support {
namespace {

const char *const comboItems[] = {
    "Checked Items", "All",        "Inbox",         "Outbox",
    "Drafts",        "Sent Items", "Deleted Items", "User-specified Folder"};

qb::test::MemoryFolder &child(qb::test::MemoryFolder &parent, const std::string &name) {
    for (auto &folder : parent.folders)
        if (folder->name == name)
            return *folder;
    return parent.add(name);
}

} // namespace

DownloadFacilities FacilitiesOver(qb::test::TestPlatform &t, outlook::MailStoreLayer &stores) {
    return {stores,    t.files, t.clock, t.events, t.locale, t.inputBoxes, t.platform.messages,
            t.reporter};
}

DownloadFixture::DownloadFixture() : outputFolder(t.folder / "out/") {
    std::filesystem::create_directory(outputFolder);
    Text3.setText(outputFolder);
    for (const char *item : comboItems)
        Combo1.addItem(item);
    Combo1.setListIndex(0);
    OptionButton::group({&Option1, &Option2});
    Option1.setValue(true);
    t.outlook.addProfileStore("Personal Folders");
}

qb::test::MemoryFolder &DownloadFixture::folderFor(const std::string &folder,
                                                   const std::string &subfolder) {
    qb::test::MemoryFolder &top = child(*t.outlook.profile[0]->root, folder);
    return subfolder.empty() ? top : child(top, subfolder);
}

int DownloadFixture::addMessage(const std::string &folder, const std::string &subfolder,
                                const std::string &subject, bool checked) {
    const std::string id = "ID-" + std::to_string(nextId_++);
    qb::test::MemoryItem item;
    item.subject = subject;
    item.senderName = "Sender of " + subject;
    item.body = "Body of " + subject + "\r\n";
    item.entryId = id;
    folderFor(folder, subfolder).add(item);
    // As the listing makes rows: the holding folder shows only when it is not the top folder.
    const std::string shownSubfolder = subfolder == folder ? std::string() : subfolder;
    const int row = ListView1.addRow(
        {"Personal Folders", folder, shownSubfolder, "3/3/2024", "", "", "0", subject, id});
    ListView1.setChecked(row, checked);
    return row;
}

int DownloadFixture::addVanishedRow(const std::string &folder, const std::string &subject,
                                    bool checked) {
    const int row = ListView1.addRow(
        {"Personal Folders", folder, "", "3/3/2024", "", "", "0", subject, "GONE"});
    ListView1.setChecked(row, checked);
    return row;
}

void DownloadFixture::choose(const std::string &item) {
    const auto &items = Combo1.items();
    Combo1.setListIndex(
        static_cast<int>(std::find(items.begin(), items.end(), item) - items.begin()));
}

std::vector<int> DownloadFixture::reportedLines() const {
    static const std::regex atLine("at line ([0-9]+)");
    std::vector<int> lines;
    for (const std::string &report : t.reports()) {
        std::smatch match;
        if (std::regex_search(report, match, atLine))
            lines.push_back(std::stoi(match[1]));
    }
    return lines;
}

} // namespace qb::exporting::test_support
