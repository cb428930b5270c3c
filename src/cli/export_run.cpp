#include "cli/export_run.h"

#include "cli/dbx_store_export.h"
#include "cli/input_stores.h"
#include "cli/outlook_store_export.h"
#include "cli/read_ahead.h"
#include "failure/failure.h"
#include "files/stop_signals.h"
#include "version/program_version.h"

#include <memory>

namespace qb::cli {
namespace {

Verbosity VerbosityFor(const ExportOptions &options, bool terminal) {
    if (options.quiet)
        return Verbosity::Quiet;
    return terminal ? Verbosity::Progress : Verbosity::Summary;
}

EarlierFiles EarlierFilesFor(const ExportOptions &options) {
    if (options.overwrite)
        return EarlierFiles::Overwrite;
    return options.skipExisting ? EarlierFiles::Skip : EarlierFiles::KeepAndNumber;
}

} // namespace

int RunExport(const ExportOptions &options, const RunSetting &setting) {
    const files::StopSignals stop;
    RunReport report(setting.errors, VerbosityFor(options, setting.terminal));
    std::unique_ptr<OutputFolder> folder;
    std::unique_ptr<MessageSink> sink;
    try {
        folder = std::make_unique<OutputFolder>(options.outputFolder, EarlierFilesFor(options));
        sink = MakeSink(*folder, report, options.oneFile);
    } catch (const Failure &failure) {
        report.fatal("cannot write into " + options.outputFolder + ": " + failure.description());
        return unusable;
    }
    const FoundStores found = FindStores(options.inputs, options.recursive);
    for (const InputProblem &problem : found.problems)
        report.failed(problem.input, problem.why);
    const auto read = [&](const StoreInput &store, ExportTarget &target) {
        if (store.kind == StoreKind::Outlook)
            ExportOutlookStore(store.path, target);
        else
            ExportDbxStore(store.path, setting.converterPath, target);
    };
    ReadAhead(
        found.stores, read, options.folder, [&] { return stop.stopRequested(); }, *sink, report);
    sink->finish();
    if (stop.stopRequested()) {
        report.stopped(stop.signalName(), found.stores.size());
        return stop.exitCode();
    }
    report.summary();
    return report.failures() > 0 ? someFailed : allWritten;
}

int RunProgram(const std::vector<std::string> &arguments, const RunSetting &setting,
               std::ostream &output) {
    const ParsedArguments parsed = ParseArguments(arguments);
    if (!parsed.error.empty()) {
        setting.errors << "quillbarrow-export: " << parsed.error
                       << "\nTry 'quillbarrow-export --help' for more information.\n";
        return unusable;
    }
    if (parsed.options.help) {
        output << HelpText();
        return allWritten;
    }
    if (parsed.options.version) {
        output << "quillbarrow-export " << programVersion << "\n";
        return allWritten;
    }
    return RunExport(parsed.options, setting);
}

} // namespace qb::cli
