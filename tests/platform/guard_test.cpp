#include "app/report.h"
#include "failure/guard.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

/// Records what the guard reported.
struct Reported {
    std::string description;
    std::string path;
    int line;
    std::string extra;
};

class RecordingReporter : public FailureReporter {
  public:
    void report(const Failure &failure, const std::string &path, int line,
                const std::string &extra) override {
        reports.push_back({failure.description(), path, line, extra});
    }
    std::vector<Reported> reports;
};

Failure failure(const std::string &text) {
    return Failure(5, "test", text);
}

TEST(Guard, ReportsTheFailingStepAndRunsTheNext) {
    RecordingReporter reporter;
    std::vector<int> ran;
    Guard guard(reporter, "Form1", "Form_Load");
    guard.step(100, [&] { ran.push_back(100); });
    guard.step(102, [&] { throw failure("first"); });
    guard.step(104, [&] { ran.push_back(104); });
    guard.step(106, [&] { throw failure("second"); });
    guard.step(108, [&] { ran.push_back(108); });

    EXPECT_EQ(ran, (std::vector<int>{100, 104, 108}));
    ASSERT_EQ(reporter.reports.size(), 2u);
    EXPECT_EQ(reporter.reports[0].path, "Ferndock2021/08/31.Form1.Form_Load");
    EXPECT_EQ(reporter.reports[0].line, 102);
    EXPECT_EQ(reporter.reports[0].description, "first");
    EXPECT_EQ(reporter.reports[1].line, 106);
}

TEST(Guard, FailingTestOfAConditionalEntersTheBranch) {
    RecordingReporter reporter;
    Guard guard(reporter, "Form1", "GetMailItems");
    bool entered = false;
    if (guard.test(110, [&]() -> bool { throw failure("unreadable"); }))
        guard.step(112, [&] { entered = true; });
    EXPECT_TRUE(entered);
    ASSERT_EQ(reporter.reports.size(), 1u);
    EXPECT_EQ(reporter.reports[0].line, 110);
    EXPECT_FALSE(guard.test(114, [] { return false; }));
}

TEST(Guard, ResumesInsideLoopsWithTheNextStepOfThePass) {
    RecordingReporter reporter;
    Guard guard(reporter, "Form1", "PushButton3_Click");
    std::vector<int> saved;
    for (int row = 1; row <= 4; ++row) {
        guard.step(192, [&] {
            if (row % 2 == 0)
                throw failure("row " + std::to_string(row));
        });
        guard.step(218, [&] { saved.push_back(row); });
    }
    EXPECT_EQ(saved, (std::vector<int>{1, 2, 3, 4}));
    ASSERT_EQ(reporter.reports.size(), 2u);
    EXPECT_EQ(reporter.reports[1].description, "row 4");
    EXPECT_EQ(reporter.reports[1].line, 192);
}

TEST(Guard, ProcedureWithoutNumbersReportsLineZero) {
    RecordingReporter reporter;
    Guard guard(reporter, "Form2", "PushButton7_Click");
    guard.run([] { throw failure("x"); });
    ASSERT_EQ(reporter.reports.size(), 1u);
    EXPECT_EQ(reporter.reports[0].line, 0);
}

TEST(Guard, UnnumberedStepKeepsTheLastLineReached) {
    RecordingReporter reporter;
    Guard guard(reporter, "Form1", "X");
    guard.step(120, [] {});
    guard.run([] { throw failure("x"); });
    EXPECT_EQ(reporter.reports.at(0).line, 120);
}

TEST(Guard, ExtraLineIsBuiltWhenTheReportIsShown) {
    RecordingReporter reporter;
    Guard guard(reporter, "Form1", "GetMailItems");
    int folders = 1;
    guard.setExtraLine([&] { return "pFld.Folders.count: " + std::to_string(folders); });
    folders = 3;
    guard.step(100, [] { throw failure("x"); });
    EXPECT_EQ(reporter.reports.at(0).extra, "pFld.Folders.count: 3");
}

TEST(Guard, FailureWhileBuildingTheExtraLineReachesTheCaller) {
    RecordingReporter reporter;
    Guard guard(reporter, "Form1", "GetMailItems");
    guard.setExtraLine([]() -> std::string { throw Failure(91, "walk", "folder gone"); });
    EXPECT_THROW(guard.step(100, [] { throw failure("x"); }), Failure);
    EXPECT_TRUE(reporter.reports.empty());
}

TEST(Guard, OtherExceptionsAreReportedAsFailures) {
    RecordingReporter reporter;
    Guard guard(reporter, "Form1", "X");
    guard.step(100, [] { throw std::runtime_error("odd"); });
    EXPECT_EQ(reporter.reports.at(0).description, "odd");
}

TEST(Guard, FilterCanStopTheProcedureWithoutAReport) {
    RecordingReporter reporter;
    Guard guard(reporter, "Form2", "PushButton1_Click");
    guard.setFailureFilter([](const Failure &f) {
        return f.number() == 20476 ? Guard::AfterFailure::Stop : Guard::AfterFailure::Resume;
    });
    guard.run([] { throw Failure(20476, "CommonDialog", "buffer too small"); });
    EXPECT_TRUE(guard.stopped());
    EXPECT_TRUE(reporter.reports.empty());
}

TEST(Guard, ReportsThroughTheApplicationErrorBox) {
    test::ScriptedMessageBoxes boxes;
    ErrorReport reporter(boxes);
    Guard guard(reporter, "Form1", "Form_Load");
    guard.step(182, [] { throw Failure(5, "x", "Invalid procedure call or argument"); });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "Invalid procedure call or argument\r\nin Ferndock2021/08/31.Form1.Form_Load at line "
              "182\r\rPlease email screenshot of this message to support@quillbarrow.example");
}

} // namespace
} // namespace qb
