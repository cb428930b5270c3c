#include "app/main_window.h"

#include "app/express_window.h"
#include "app/main_module.h"
#include "export/folder_browser.h"
#include "outlook/message_columns.h"

namespace qb {
namespace {

const char *const scopeItems[] = {
    "Checked Items", "All",        "Inbox",         "Outbox",
    "Drafts",        "Sent Items", "Deleted Items", "User-specified Folder"};

} // namespace

std::string MailSourceHelp(const std::string &profileFolder) {
    const std::string gap = "\r\n\r\n";
    return "Quillbarrow reads Outlook data files itself: no Outlook is needed, and nothing asks "
           "for access." +
           gap +
           "\"Outlook 2000/2002/2003/2007/2010/etc.\" lists every store of your mail profile, "
           "which is each .pst and .ost file in the folder" +
           gap + profileFolder + gap + "To list a file kept somewhere else, choose:" + gap +
           "PST File: > ... > the .pst or .ost file";
}

MainWindow::MainWindow(Platform &platform, Settings &settings, ExpressWindow &expressWindow)
    : platform_(platform), settings_(settings), expressWindow_(expressWindow),
      listing_(outlook::ListingFacilitiesOf(platform),
               {window, Text1, Text2, Option3, Option4, ListView1}),
      download_({platform.outlook, platform.files, platform.clock, platform.events, platform.locale,
                 platform.inputBoxes, platform.messages, platform.reporter},
                {window, Text3, Combo1, Option2, ListView1}),
      preview_{platform.outlook, platform.viewer, platform.reporter} {
    window.addControls({&Frame5,      &Text3,       &PushButton9, &Frame4,    &Combo1,
                        &PushButton7, &Frame2,      &Option1,     &Option2,   &Frame3,
                        &Text1,       &PushButton2, &Frame1,      &Text2,     &Option3,
                        &Option4,     &PushButton8, &PushButton4, &ListView1, &PushButton1,
                        &PushButton5, &PushButton6, &PushButton3});
    OptionButton::group({&Option1, &Option2});
    OptionButton::group({&Option3, &Option4});
    // Opening the other window or a second listing or download inside a running one would
    // nest them; the check marks and options may change meanwhile, as they always could.
    window.setActionStarters({&PushButton1, &PushButton2, &PushButton3, &PushButton4});
    nameForScreenReaders();
    wireHandlers();
    wirePointerHandlers();
    arrangeGrowth();
    KeepWindowPlacement(window, settings_);
}

void MainWindow::nameForScreenReaders() {
    // The text boxes and the combo box take their frames' titles by themselves.
    Text2.setAccessibleName("PST File");
    PushButton8.setAccessibleName("Choose the PST file");
    PushButton9.setAccessibleName("Choose the folder to save text files to");
    ListView1.setAccessibleName("Outlook messages");
    ListView1.setRowNameCell(outlook::SubItemOf(outlook::MessageColumn::Subject) + 1);
}

void MainWindow::arrangeGrowth() {
    // A real mailbox needs the room: the list takes the extra height, and the wide controls
    // the extra width, so its columns need less scrolling.
    for (Control *control : std::initializer_list<Control *>{
             &PushButton7, &Frame1, &Text2, &PushButton4, &PushButton1, &Text1, &Combo1, &Text3})
        control->setGrowth(spansWidth);
    for (Control *control : {&PushButton8, &PushButton2, &PushButton9})
        control->setGrowth(followsRightEdge);
    ListView1.setGrowth(takesExtraHeight);
    PushButton5.setGrowth(belowListLeftHalf);
    PushButton6.setGrowth(belowListRightHalf);
    for (Control *control :
         std::initializer_list<Control *>{&Frame3, &Frame2, &Frame4, &Frame5, &PushButton3})
        control->setGrowth(belowList);
}

void MainWindow::wireHandlers() {
    // Each mirrored control writes its state at once and does nothing else.
    Text1.onChange = [this] { settings_.write("Text1", Text1.text()); };
    Text2.onChange = [this] { settings_.write("PST File", Text2.text()); };
    Text3.onChange = [this] { settings_.write("Location1", Text3.text()); };
    const auto saveOutputMode = [this] {
        settings_.writeBoolean("Option1", Option1.value());
        settings_.writeBoolean("Option2", Option2.value());
    };
    Option1.onClick = saveOutputMode;
    Option2.onClick = saveOutputMode;
    const auto saveSource = [this] {
        settings_.writeBoolean("Option3", Option3.value());
        settings_.writeBoolean("Option4", Option4.value());
    };
    Option3.onClick = saveSource;
    Option4.onClick = saveSource;
    Combo1.onClick = [this] { settings_.write("Combo1", std::to_string(Combo1.listIndex())); };

    PushButton1.onClick = [this] { listing_.listMessages(); };
    PushButton2.onClick = [this] { listing_.findMessages(); };
    Text1.onEnter = [this] { PushButton2.click(); };
    ListView1.onOpen = [this](int row) { readMessage(row); };
    PushButton3.onClick = [this] { download_.saveChosenMessages(); };
    PushButton4.onClick = [this] { openExpressWindow(); };
    PushButton5.onClick = [this] { listing_.checkAllRows(); };
    PushButton6.onClick = [this] { listing_.uncheckAllRows(); };
    PushButton7.onClick = [this] { showHelp(); };
    PushButton8.onClick = [this] { listing_.pickPstFile(); };
    PushButton9.onClick = [this] {
        exporting::chooseOutputFolder(FolderChoiceOf(platform_), window, Text3, "Form1",
                                      "PushButton9_Click");
    };
    window.onUnload = [this] { endProgram(); };
}

void MainWindow::wirePointerHandlers() {
    for (PushButton *button : {&PushButton1, &PushButton2, &PushButton3, &PushButton4, &PushButton5,
                               &PushButton6, &PushButton7, &PushButton8, &PushButton9})
        button->onMouseMove = [this] { ShowHandPointer(window); };
    const auto arrow = [this] { ShowDefaultPointer(window); };
    window.onMouseMove = arrow;
    for (Control *control : std::initializer_list<Control *>{
             &Frame1, &Frame2, &Frame3, &Frame4, &Frame5, &Option1, &Option2, &Text1, &ListView1})
        control->onMouseMove = arrow;
}

void MainWindow::load() {
    Guard guard(platform_.reporter, "Form1", "Form_Load");
    guard.step(100, [&] { applySkin(); });
    guard.step(104, [&] {
        window.setCaption(productName);
        window.setProgramIcon();
        platform_.messages.setTitle(ApplicationTitleOf(productName));
    });
    LoadHandPointer(guard, window, {platform_.files, platform_.windows, platform_.programFolder});
    guard.step(128, [&] { Text2.setText(settings_.text("PST File")); });
    guard.step(130, [&] { Option1.setValue(settings_.boolean("Option1", "1")); });
    guard.step(132, [&] { Option2.setValue(settings_.boolean("Option2", "0")); });
    guard.step(134, [&] { Option3.setValue(settings_.boolean("Option3", "1")); });
    guard.step(136, [&] { Option4.setValue(settings_.boolean("Option4", "0")); });
    // Line 138 took the column collection; the list view model is that collection itself.
    for (std::size_t column = 0; column < outlook::messageColumns.size(); ++column)
        guard.step(140 + 2 * static_cast<int>(column), [&] {
            ListView1.addColumn(outlook::messageColumns[column].header,
                                outlook::messageColumns[column].width);
        });
    guard.step(158, [&] { ListView1.clear(); });
    guard.step(160, [&] { ListView1.refresh(); });
    for (int item = 0; item < 8; ++item)
        guard.step(162 + 2 * item, [&] { Combo1.addItem(scopeItems[item]); });
    guard.step(178, [&] { Combo1.setListIndex(settings_.integer16("Combo1", "0")); });
    guard.step(180, [&] { Text1.setText(settings_.text("Text1")); });
    guard.step(182, [&] {
        const std::string desktop = DesktopFolder(platform_.specialFolders);
        Text3.setText(settings_.text("Location1", desktop));
    });
    if (guard.test(184, [&] { return outlook::IsOutlookInstalled(platform_.outlook); }))
        return;
    guard.step(186, [&] { Option4.setValue(true); });
    guard.step(188, [&] { expressWindow_.show(); });
}

void MainWindow::applySkin() {
    const std::string skinPath = platform_.programFolder + "/x/o.cjs";
    if (platform_.files.listFiles(skinPath).empty())
        return;
    ApplyFormColours(window);
    window.setSkin(LoadSkinFile(platform_.files, skinPath));
}

void MainWindow::endProgram() {
    outlook::KillProcess(platform_.processes, "OUTLOOK.EXE");
    platform_.windows.endProgram();
}

void MainWindow::openStartFiles(const StartFiles &start) {
    if (start.pstFile) {
        Option4.setValue(true);
        Text2.setText(*start.pstFile);
    }
    if (!start.problems.empty()) {
        std::string text;
        for (const std::string &problem : start.problems)
            text += (text.empty() ? "" : "\r\n") + problem;
        platform_.messages.show(text, MessageButtons::Ok, MessageIcon::Exclamation);
    }
    if (expressWindow_.hasMailboxesToAdd())
        openExpressWindow();
}

void MainWindow::openExpressWindow() {
    Guard guard(platform_.reporter, "Form1", "PushButton4_Click");
    guard.step(100, [&] { expressWindow_.show(); });
}

void MainWindow::showHelp() {
    Guard guard(platform_.reporter, "Form1", "PushButton7_Click");
    guard.step(100, [&] {
        platform_.messages.show(MailSourceHelp(OutlookProfileFolder(platform_.specialFolders)));
    });
}

void MainWindow::readMessage(int row) {
    // A view opened from the events a running action lets through would hold that action still.
    if (!window.runningAction())
        exporting::showOutlookMessage(preview_, ListView1, row);
}

} // namespace qb
