#pragma once

#include "failure/guard.h"
#include "platform/clock.h"
#include "platform/controls/window_model.h"
#include "platform/event_pump.h"
#include "platform/file_dialogs.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/message_viewer.h"
#include "platform/mime_reader.h"
#include "platform/outlook_api.h"
#include "platform/processes.h"
#include "platform/program_runner.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "platform/special_folders.h"
#include "platform/text_locale.h"

#include <string>

namespace qb {

/// Every facility the program uses, assembled once by the program (or by a test) and handed to
/// the windows, which hand each part of the logic only the facilities it uses.
struct Platform {
    MessageBoxes &messageBoxes;
    InputBoxes &inputBoxes;
    FileDialogs &fileDialogs;
    FolderPicker &folderPicker;
    EventPump &events;
    Clock &clock;
    SettingsStore &settings;
    SpecialFolders &specialFolders;
    FileSystem &files;
    Processes &processes;
    TextLocale &locale;
    WindowHost &windows;
    MessageViewer &viewer;
    outlook::MailStoreLayer &outlook;
    MimeReader &mime;
    Registry &registry;
    ProgramRunner &programs;
    FailureReporter &reporter;
    /// Folder of the running program, without a final "/".
    std::string programFolder;
    /// Folder of the Outlook Express work files (.eml), without a final "/"; made when first
    /// needed. Never the program folder, which its users may not be able to write.
    std::string workFolder;
    /// The message boxes under the application title, for every message that names no title of
    /// its own.
    TitledMessageBoxes messages{messageBoxes};
};

} // namespace qb
