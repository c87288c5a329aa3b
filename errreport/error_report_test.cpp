#include "errreport/error_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using errreport::error_report;
using errreport::error_set_location;

namespace {

std::string report(std::int32_t code, const char* description) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(error_report(code, description), 0);
    return testing::internal::GetCapturedStdout();
}

} // namespace

TEST(ErrorReport, PrintsCodeLocationAndDescriptionInItsFixedLayout) {
    ASSERT_EQ(error_set_location("io", "load", 42), 0);
    EXPECT_EQ(report(5, "bad header"), "\nError: 5\nIn: io\tLine: 42\tFunc: load\nDesc: bad header\n\n");
    EXPECT_EQ(report(-1, ""), "\nError: -1\nIn: io\tLine: 42\tFunc: load\nDesc: \n\n");
}

TEST(ErrorReport, ANullNameKeepsThePreviousLocation) {
    ASSERT_EQ(error_set_location("a.cpp", "run", 7), 0);
    EXPECT_EQ(error_set_location(nullptr, "other", 8), 1);
    EXPECT_EQ(error_set_location("b.cpp", nullptr, 9), 1);
    EXPECT_EQ(report(3, "x"), "\nError: 3\nIn: a.cpp\tLine: 7\tFunc: run\nDesc: x\n\n");
    EXPECT_EQ(report(3, nullptr), "\nError: 3\nIn: a.cpp\tLine: 7\tFunc: run\nDesc: (unknown)\n\n");
}

TEST(ErrorReport, AReportBeforeAnyLocationSaysUnknown) {
    // The location is process-wide; a fresh process is the only place where it was never set.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::string out = report(9, "early");
            std::exit(out == "\nError: 9\nIn: (unknown)\tLine: 0\tFunc: (unknown)\nDesc: early\n\n" ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
