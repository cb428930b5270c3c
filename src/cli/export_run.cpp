#include "cli/export_run.h"

#include "cli/dbx_store_export.h"
#include "cli/input_stores.h"
#include "cli/outlook_store_export.h"
#include "cli/read_ahead.h"
#include "failure/failure.h"

#include <memory>

namespace qb::cli {
namespace {

Verbosity VerbosityFor(const ExportOptions &options, bool terminal) {
    if (options.quiet)
        return Verbosity::Quiet;
    return terminal ? Verbosity::Progress : Verbosity::Summary;
}

} // namespace

ExitCode RunExport(const ExportOptions &options, const RunSetting &setting) {
    RunReport report(setting.errors, VerbosityFor(options, setting.terminal));
    std::unique_ptr<OutputFolder> folder;
    std::unique_ptr<MessageSink> sink;
    try {
        folder = std::make_unique<OutputFolder>(options.outputFolder,
                                                options.overwrite ? EarlierFiles::Overwrite
                                                                  : EarlierFiles::KeepAndNumber);
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
    ReadAhead(found.stores, read, options.folder, *sink, report);
    sink->finish();
    report.summary();
    return report.failures() > 0 ? someFailed : allWritten;
}

ExitCode RunProgram(const std::vector<std::string> &arguments, const RunSetting &setting,
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
    return RunExport(parsed.options, setting);
}

} // namespace qb::cli
