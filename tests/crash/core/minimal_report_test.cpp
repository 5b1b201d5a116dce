// The minimal report: what it holds, saved once per failure, never through a planted link.
#include "crash/core/minimal_report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "crash/core/handle_exception.h"
#include "crash/core/kes_exception.h"
#include "crash/core/private_folder.h"
#include "crash/settings/module_settings.h"
#include "tests/crash/core/runtime_folder.h"

namespace kestrix {
namespace {

namespace fs = std::filesystem;

[[gnu::noinline]] std::exception_ptr RaisedInANamedFunction() {
    try {
        throw KesException("report test failure");
    } catch (...) {
        return std::current_exception();
    }
}

class MinimalReport : public ::testing::Test {
  protected:
    std::shared_ptr<IKXException> Failure() {
        ExceptionValues values{.Exception = RaisedInANamedFunction(), .Source = esManual};
        CompleteExceptionValues(values);
        return NewException(std::move(values), KXSettings());
    }
    static std::string Read(const fs::path& file) {
        std::ostringstream text;
        text << std::ifstream(file).rdbuf();
        return text.str();
    }
    const TestRuntimeFolder m_runtime{"kestrix-report-test"};
    const fs::path& m_base = m_runtime.Path();
};

TEST_F(MinimalReport, NamesTheFailureAndTheRaisingFunction) {
    const std::string report = BuildMinimalReport(*Failure());
    for (const char* part : {"exception source   : esManual", "exception class    : KesException",
                             "exception message  : report test failure", "thread             : ",
                             "call stack:\r\n", "RaisedInANamedFunction"}) {
        EXPECT_NE(report.find(part), std::string::npos) << part << "\n" << report;
    }
}

TEST_F(MinimalReport, IsSavedOncePerFailureAndAppendedForTheNext) {
    const auto first = Failure();
    const auto saved = SaveMinimalReport(*first);
    ASSERT_TRUE(saved);
    EXPECT_EQ(SaveMinimalReport(*first), saved);
    EXPECT_EQ(first->SavedReportFile(), saved->string());
    SaveMinimalReport(*Failure());
    const std::string text = Read(*saved);
    std::size_t reports = 0;
    for (auto at = text.find("date/time"); at != std::string::npos;
         at = text.find("date/time", at + 1)) {
        ++reports;
    }
    EXPECT_EQ(reports, 2u);
    EXPECT_EQ(fs::status(*saved).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(MinimalReport, IsNotWrittenThroughALinkPlantedInItsPlace) {
    const auto folder = ReportFolder();
    ASSERT_TRUE(folder);
    const fs::path target = m_base / "elsewhere.txt";
    std::ofstream(target) << "untouched";
    fs::create_symlink(target, *folder / MinimalReportFileName);
    const auto failure = Failure();
    EXPECT_FALSE(SaveMinimalReport(*failure));
    EXPECT_EQ(Read(target), "untouched");
    EXPECT_EQ(failure->SavedReportFile(), "");
}

}  // namespace
}  // namespace kestrix
