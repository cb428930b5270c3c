#include "app/express_window.h"

#include "app/main_module.h"
#include "export/express_download.h"
#include "export/file_utilities.h"
#include "export/folder_browser.h"
#include "export/message_preview.h"
#include "express/dbx_file_list.h"
#include "express/dbx_files.h"
#include "express/eml_extraction.h"
#include "express/row_checks.h"
#include "outlook/outlook_listing.h"

namespace qb {

ExpressWindow::ExpressWindow(Platform &platform, Settings &settings)
    : platform_(platform), settings_(settings) {
    window.addControls({&PushButton23, &PushButton14, &Frame1, &Text3, &PushButton8, &Frame2,
                        &Option2, &Option1, &ListView1, &ListView2, &PushButton1, &PushButton5,
                        &PushButton3, &PushButton2, &PushButton4, &PushButton6, &PushButton7});
    OptionButton::group({&Option1, &Option2});
    // A search or a dialog inside a running extraction or download would nest in it.
    window.setActionStarters({&PushButton14, &PushButton1, &PushButton2, &PushButton7});
    nameForScreenReaders();
    wireHandlers();
    arrangeGrowth();
    KeepWindowPlacement(window, settings_);
}

void ExpressWindow::nameForScreenReaders() {
    PushButton8.setAccessibleName("Choose the folder to save text files to");
    ListView1.setAccessibleName("Outlook Express files");
    ListView2.setAccessibleName("Outlook Express messages");
    ListView2.setRowNameCell(3); // the subject
}

void ExpressWindow::arrangeGrowth() {
    // As on the main window, the message list takes the extra height; the file list keeps its.
    for (Control *control : std::initializer_list<Control *>{
             &PushButton23, &PushButton14, &PushButton1, &ListView1, &PushButton2, &Text3})
        control->setGrowth(spansWidth);
    PushButton5.setGrowth(leftHalfOfWidth);
    PushButton3.setGrowth(rightHalfOfWidth);
    PushButton8.setGrowth(followsRightEdge);
    ListView2.setGrowth(takesExtraHeight);
    PushButton4.setGrowth(belowListLeftHalf);
    PushButton6.setGrowth(belowListRightHalf);
    for (Control *control : std::initializer_list<Control *>{&Frame2, &Frame1, &PushButton7})
        control->setGrowth(belowList);
}

void ExpressWindow::wireHandlers() {
    Option1.onClick = [this] { settings_.write("TextFileOption", "1"); };
    Option2.onClick = [this] { settings_.write("TextFileOption", "2"); };
    Text3.onChange = [this] { settings_.write("Location", Text3.text()); };
    PushButton23.onClick = [this] { showHelp(); };
    PushButton14.onClick = [this] {
        express::listIdentityMailboxes(searchFacilities(), search, window, ListView1, PushButton1);
    };
    PushButton1.onClick = [this] {
        express::addMailboxFiles(platform_.fileDialogs, platform_.messages, platform_.reporter,
                                 ListView1,
                                 express::FirstIdentityStoreFolder(
                                     platform_.messages, {platform_.registry, platform_.files}));
    };
    PushButton5.onClick = [this] { express::PushButton5_Click(platform_, ListView1); };
    PushButton3.onClick = [this] { express::PushButton3_Click(platform_, ListView1); };
    PushButton2.onClick = [this] {
        express::extractMessages(extractionFacilities(), {window, ListView1, ListView2},
                                 EmlFileNames);
    };
    ListView2.onOpen = [this](int row) { readMessage(row); };
    PushButton4.onClick = [this] { express::PushButton4_Click(platform_, ListView2); };
    PushButton6.onClick = [this] { express::PushButton6_Click(platform_, ListView2); };
    PushButton7.onClick = [this] {
        exporting::saveCheckedMessages(downloadFacilities(),
                                       {window, Text3, Option1, Option2, ListView2}, EmlFileNames,
                                       platform_.workFolder);
    };
    PushButton8.onClick = [this] {
        exporting::chooseOutputFolder(FolderChoiceOf(platform_), window, Text3, "Form2",
                                      "PushButton8_Click");
    };
    window.onQueryUnload = [this] { removeWorkFiles(); };
    window.onUnload = [this] { endProgramWhenAlone(); };

    // Here the lists show the hand, unlike the main window's message list.
    for (Control *control : window.controls())
        if (control->kind() == ControlKind::PushButton || control->kind() == ControlKind::ListView)
            control->onMouseMove = [this] { ShowHandPointer(window); };
    const auto arrow = [this] { ShowDefaultPointer(window); };
    window.onMouseMove = arrow;
    Frame1.onMouseMove = arrow;
    Frame2.onMouseMove = arrow;
}

express::SearchFacilities ExpressWindow::searchFacilities() {
    return {{platform_.registry, platform_.files}, platform_.messages, platform_.reporter};
}

express::ExtractionFacilities ExpressWindow::extractionFacilities() {
    return {platform_.files,    platform_.programs, platform_.events,        platform_.clock,
            platform_.messages, platform_.reporter, platform_.programFolder, platform_.workFolder};
}

exporting::ExpressDownloadFacilities ExpressWindow::downloadFacilities() {
    return {platform_.mime,  platform_.files,    platform_.fileDialogs, platform_.events,
            platform_.clock, platform_.messages, platform_.reporter};
}

void ExpressWindow::show() {
    load();
    for (const std::string &path : mailboxesToAdd_)
        ListView1.setChecked(ListView1.addRow({path}), true);
    mailboxesToAdd_.clear();
    platform_.windows.showModal(window);
}

void ExpressWindow::addMailboxesOnShow(const std::vector<std::string> &paths) {
    mailboxesToAdd_.insert(mailboxesToAdd_.end(), paths.begin(), paths.end());
}

void ExpressWindow::load() {
    Guard guard(platform_.reporter, "Form2", "Form_Load");
    guard.step(100, [&] { ApplyFormColours(window); });
    guard.step(102, [&] {
        window.setCaption(productName);
        window.setProgramIcon();
    });
    LoadHandPointer(guard, window, {platform_.files, platform_.windows, platform_.programFolder});
    // Closing destroyed the lists: the columns are built anew with every load.
    ListView1.clear();
    ListView1.clearColumns();
    ListView2.clear();
    ListView2.clearColumns();
    guard.step(110, [&] { ListView1.addColumn("DBX File(s)", ListView::defaultColumnWidth); });
    guard.step(112, [&] { ListView1.setColumnWidth(1, 6000); });
    const char *const headers[] = {"From", "To", "Subject", "Date Received"};
    const int widths[] = {1500, 1500, 2000, 1500};
    for (int column = 0; column < 4; ++column)
        guard.step(114 + 2 * column,
                   [&] { ListView2.addColumn(headers[column], ListView::defaultColumnWidth); });
    for (int column = 0; column < 4; ++column)
        guard.step(122 + 2 * column, [&] { ListView2.setColumnWidth(column + 1, widths[column]); });
    std::string textFileOption;
    guard.step(130, [&] { textFileOption = settings_.text("TextFileOption", "1"); });
    if (guard.test(132, [&] { return textFileOption == "1"; }))
        guard.step(134, [&] { Option1.setValue(true); });
    else
        guard.step(136, [&] { Option2.setValue(true); });
    guard.step(138, [&] {
        const std::string desktop = DesktopFolder(platform_.specialFolders);
        Text3.setText(settings_.text("Location", desktop));
    });
}

void ExpressWindow::removeWorkFiles() {
    Guard guard(platform_.reporter, "Form2", "Form_QueryUnload");
    guard.step(100, [&] { platform_.events.processEvents(); });
    guard.step(102, [&] { platform_.events.processEvents(); });
    guard.step(104, [&] {
        exporting::DeleteFileQuietly(platform_.files, platform_.events,
                                     platform_.workFolder + "/*.eml");
    });
    guard.step(106, [&] { platform_.events.processEvents(); });
    guard.step(108, [&] { platform_.events.processEvents(); });
}

void ExpressWindow::endProgramWhenAlone() {
    if (!outlook::IsOutlookInstalled(platform_.outlook))
        platform_.windows.endProgram();
}

void ExpressWindow::showHelp() {
    Guard guard(platform_.reporter, "Form2", "PushButton23_Click");
    guard.step(100, [&] { platform_.messages.show(PstFileHelp()); });
}

void ExpressWindow::readMessage(int row) {
    // A view opened from the events a running action lets through would hold that action still.
    const auto index = static_cast<std::size_t>(row - 1);
    if (window.runningAction() || row < 1 || index >= EmlFileNames.size())
        return;
    exporting::showExpressMessage(platform_.mime, platform_.viewer, platform_.reporter, ListView2,
                                  row, platform_.workFolder + "/" + EmlFileNames[index]);
}

std::string PstFileHelp() {
    return "Quillbarrow reads PST files itself, with no Outlook: choose them in the main window "
           "\r\nbecause Outlook Express cannot handle PST files.";
}

} // namespace qb
