#pragma once

#include "failure/caught_failure.h"
#include "failure/failure.h"

#include <functional>
#include <string>

namespace qb {

/// Shows the failure report for one failing step. The extra line, when not empty, ends the report.
class FailureReporter {
  public:
    virtual ~FailureReporter() = default;
    virtual void report(const Failure &failure, const std::string &procedurePath, int line,
                        const std::string &extraLine) = 0;
};

/// The designed name of a guarded procedure, as its failure reports show it: the window or module
/// ("Form1") and the procedure ("PushButton1_Click"). Kept as data beside the function that does
/// the work, which is named for what it does.
struct ProcedureName {
    const char *object;
    const char *procedure;
};

/// The failure guard of one run of a guarded procedure.
///
/// The procedure is written as numbered steps, each a callable. A step that throws is reported
/// with the procedure path and the number of the last numbered line that started, and the guard
/// returns so that the procedure goes on with its next step. A failing `test` counts as passed, so
/// the procedure goes on inside the branch the test guards. A procedure without line numbers uses
/// `run`, and its failures are reported at line 0.
class Guard {
  public:
    /// Guards object.procedure; reports name "Ferndock2021/08/31." + object + "." + procedure.
    Guard(FailureReporter &reporter, const std::string &object, const std::string &procedure);
    Guard(FailureReporter &reporter, const ProcedureName &name)
        : Guard(reporter, name.object, name.procedure) {}

    /// Adds a last line to every report, built when the report is shown. A failure while building
    /// it is not caught here: it reaches the caller of the guarded procedure.
    void setExtraLine(std::function<std::string()> extraLine) { extraLine_ = std::move(extraLine); }

    /// Decides what happens after a failure; the default resumes with the next step.
    enum class AfterFailure { Resume, Stop };
    void setFailureFilter(std::function<AfterFailure(const Failure &)> filter) {
        filter_ = std::move(filter);
    }

    template <typename Body> void step(int line, Body &&body) {
        line_ = line;
        run(std::forward<Body>(body));
    }

    /// Runs a step without a line number of its own.
    template <typename Body> void run(Body &&body) {
        if (const auto failure = CaughtFailure(std::forward<Body>(body)))
            report(*failure);
    }

    /// Evaluates the test of a conditional step; a test that fails counts as true.
    template <typename Condition> bool test(int line, Condition &&condition) {
        bool result = true;
        step(line, [&] { result = condition(); });
        return result;
    }

    /// True once a failure filter said to stop: the procedure must return at once.
    bool stopped() const { return stopped_; }
    int line() const { return line_; }
    const std::string &procedurePath() const { return path_; }

  private:
    void report(const Failure &failure);

    FailureReporter &reporter_;
    std::string path_;
    int line_ = 0;
    bool stopped_ = false;
    std::function<std::string()> extraLine_;
    std::function<AfterFailure(const Failure &)> filter_;
};

} // namespace qb
