#include "app/report.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(ErrorReport, ComposesDescriptionPathLineAndRequest) {
    const Failure failure(13, "Quillbarrow", "Type mismatch");
    EXPECT_EQ(ComposeErrorReport(failure, "Ferndock2021/08/31.Form1.Form_Load", 182),
              "Type mismatch\r\nin Ferndock2021/08/31.Form1.Form_Load at line 182\r\r"
              "Please email screenshot of this message to support@quillbarrow.example");
}

TEST(ErrorReport, ExtraLineEndsTheReport) {
    const Failure failure(5, "x", "Bad");
    EXPECT_EQ(ComposeErrorReport(failure, "P", 0, "pFld.Folders.count: 3"),
              "Bad\r\nin P at line 0\r\rPlease email screenshot of this message to "
              "support@quillbarrow.example\r\npFld.Folders.count: 3");
}

TEST(ErrorReport, ShowsApplicationErrorWithExclamationAndOk) {
    test::TestPlatform fixture;
    ReportError(fixture.messageBoxes, Failure(1, "s", "d"), "P", 2);
    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fixture.messageBoxes.shown[0].title, "Application Error");
    EXPECT_EQ(fixture.messageBoxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(fixture.messageBoxes.shown[0].buttons, MessageButtons::Ok);
}

TEST(ComponentFailure, CarriesObjectDefinedNumberSourceAndDescription) {
    const Failure failure = Failure::component("DBXFiles", "GetStoreFolder");
    EXPECT_EQ(failure.number(), -2147221404);
    EXPECT_EQ(failure.source(), "Ferndock.DBXFiles.GetStoreFolder");
    EXPECT_EQ(failure.description(), "DBXFiles component failure");
}

} // namespace
} // namespace qb
