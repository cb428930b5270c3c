#include "cli/export_run.h"

#include "cli/dbx_store_export.h"
#include "cli/input_stores.h"
#include "cli/outlook_store_export.h"
#include "failure/caught_failure.h"
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

void ReadStores(const std::vector<StoreInput> &stores, ExportTarget &target) {
    for (const StoreInput &store : stores) {
        if (target.stopped())
            return;
        if (store.kind == StoreKind::Outlook)
            ExportOutlookStore(store.path, target);
        else
            ExportDbxStore(store.path, target);
        target.output.storeDone();
        // A store the stop cut short is not done.
        if (target.stopped())
            return;
        target.report.storeDone();
    }
}

} // namespace

int RunExport(const ExportOptions &options, const RunSetting &setting) {
    const files::StopSignals stop;
    RunReport report(setting.errors, VerbosityFor(options, setting.terminal));
    std::unique_ptr<OutputTree> tree;
    const auto unwritable = CaughtFailure([&] {
        tree = std::make_unique<OutputTree>(options.outputFolder, EarlierFilesFor(options),
                                            options.flat || options.oneFile ? FolderLayout::Flat
                                                                            : FolderLayout::Tree);
    });
    if (unwritable) {
        report.fatal("cannot write into " + options.outputFolder + ": " +
                     unwritable->description());
        return unusable;
    }
    Placer placer(tree->rootFolder(), report);
    std::unique_ptr<MessageOutput> output;
    if (const auto failure = CaughtFailure([&] {
            output = MakeOutput(options, {*tree, placer, report});
        })) {
        report.fatal("cannot write into " + options.outputFolder + ": " + failure->description());
        return unusable;
    }
    const FoundStores found = FindStores(options.inputs, options.recursive);
    for (const InputProblem &problem : found.problems)
        report.failed(problem.input, problem.why);
    ExportTarget target{*output, report, options.folder, [&] { return stop.stopRequested(); }};
    ReadStores(found.stores, target);
    output->finish();
    placer.finish();
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
