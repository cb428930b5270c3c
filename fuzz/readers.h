#pragma once

// What each fuzz target does with one input: it hands the bytes to one reader of outside data the
// way the program does. The fuzz targets and the regression tests share these functions, so an
// input kept from fuzzing is replayed through exactly the code that once failed on it.

#include "dbx/conversion.h"
#include "express/dbx_file_list.h"
#include "express/eml_headers.h"
#include "express/eml_messages.h"
#include "failure/failure.h"
#include "mime/gmime_mime_reader.h"
#include "outlook_road.h"
#include "platform/command_line.h"
#include "platform/linux/posix_file_system.h"
#include "platform/qt/file_dialog_text.h"
#include "platform/qt/qsettings_store.h"
#include "text/html_to_text.h"
#include "text/rtf_text.h"
#include "wine/wine_registry_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace qb::fuzz {

/// A folder of this process's own, made once and left empty after each input.
inline const std::filesystem::path &ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "qb-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a scratch folder");
        return std::filesystem::path(pattern);
    }();
    return folder;
}

inline void EmptyScratchFolder() {
    for (const auto &entry : std::filesystem::directory_iterator(ScratchFolder()))
        std::filesystem::remove_all(entry.path());
}

/// Writes the bytes as a whole file; a failure here is the harness's own and must not be taken
/// for a finding in the reader.
inline void WriteInput(const std::filesystem::path &path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

/// The input as a memory file: the converter opens it by its /proc path like any other file,
/// without a disk write per input.
inline std::string MemoryFilePath(std::string_view bytes) {
    static const int descriptor = ::memfd_create("input.dbx", MFD_CLOEXEC);
    if (descriptor < 0 || ::ftruncate(descriptor, 0) != 0 ||
        ::pwrite(descriptor, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("cannot fill the memory file");
    return "/proc/self/fd/" + std::to_string(descriptor);
}

// A qb::Failure is the readers' answer to damaged input and is expected; anything else thrown,
// and every crash or sanitizer report, is a finding.

inline void ConvertDbx(std::string_view bytes) {
    const std::string path = MemoryFilePath(bytes);
    std::ostringstream log;
    try {
        dbx::ConvertMailbox(path, ScratchFolder().string(), log);
    } catch (const Failure &) {
    }
    EmptyScratchFolder();
}

inline void ScanEmlHeaders(std::string_view bytes) {
    for (const char *name : {"Date", "From", "To", "Subject"})
        express::GetHeaderValue(bytes, name);
    WriteInput(ScratchFolder() / "message.eml", bytes);
    PosixFileSystem files;
    ListView list("ListView2", {});
    std::vector<std::string> names;
    try {
        express::LoadEmlMessages(files, ScratchFolder().string(), list, names);
    } catch (const Failure &) {
    }
    EmptyScratchFolder();
}

inline void ExtractMimeBody(std::string_view bytes) {
    static GmimeMimeReader reader;
    const auto path = ScratchFolder() / "message.eml";
    WriteInput(path, bytes);
    try {
        reader.textBody(path.string());
    } catch (const Failure &) {
    }
    EmptyScratchFolder();
}

inline void ConvertRtf(std::string_view bytes) {
    RtfToText(bytes);
}

inline void ConvertHtml(std::string_view bytes) {
    HtmlToText(bytes);
}

inline void ReadWineRegistry(std::string_view bytes) {
    RegistryHive hive;
    ReadWineRegistryText(bytes, hive, hive.root());
    hive.find(hive.root(), "Software\\Microsoft\\Outlook Express");
}

inline void SplitWindowsCommandLine(std::string_view bytes) {
    SplitCommandLine(bytes);
}

inline void SplitChosenPaths(std::string_view bytes) {
    // A longer answer never leaves the dialog, and each path repeats the folder, so the paths of
    // a longer one could grow with the square of its length.
    if (bytes.size() < fileNameBufferSize)
        express::ChosenPaths(std::string(bytes));
}

inline void ReadSettingsFile(std::string_view bytes) {
    // QSettings keeps what it read of a file and reads it again only when its size or time
    // stamp has changed, which a file of the same size written within the same millisecond may
    // not show: a name of its own makes every input a file it has not seen.
    static unsigned long long inputs = 0;
    const auto path = ScratchFolder() / ("Quillbarrow-" + std::to_string(++inputs) + ".ini");
    WriteInput(path, bytes);
    QSettingsStore store(path.string());
    for (const char *key : {"OutputFolder", "LastStore", "WindowWidth", "a,b"})
        store.read(key, "fallback");
    EmptyScratchFolder();
}

inline void ReadOutlookStoreFile(std::string_view bytes) {
    ReadOutlookStore(bytes, ScratchFolder());
    EmptyScratchFolder();
}

struct Reader {
    const char *name;
    void (*run)(std::string_view bytes);
};

/// Every fuzz target, by the name of its program, its seed folder and its regression folder.
inline constexpr Reader readers[] = {
    {"dbx_conversion", ConvertDbx},
    {"eml_headers", ScanEmlHeaders},
    {"mime_body", ExtractMimeBody},
    {"rtf_text", ConvertRtf},
    {"html_text", ConvertHtml},
    {"wine_registry", ReadWineRegistry},
    {"command_line", SplitWindowsCommandLine},
    {"chosen_paths", SplitChosenPaths},
    {"settings_file", ReadSettingsFile},
    {"outlook_store", ReadOutlookStoreFile},
};

} // namespace qb::fuzz
