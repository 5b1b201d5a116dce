// The rules for adding a report to a report file: duplicates counted, the size limit, overwriting.
#include "crash/delivery/file/report_file_merge.h"

#include <gtest/gtest.h>

#include "crash/delivery/file/report_file_fields.h"
#include "tests/crash/delivery/report_texts.h"

namespace kestrix {
namespace {

std::size_t ReportCount(const std::string& file) {
    return ReportSpans(file).size();
}

TEST(ReportFileFields, SplitsReportsAtTheirDateLines) {
    const std::string one = ReportText{}.Text() + "\r\n\r\n";
    const std::string file = "left-over\r\n" + one + one;
    const auto spans = ReportSpans(file);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].Begin, 0u);
    EXPECT_EQ(spans[1].Begin, 11 + one.size());
    EXPECT_EQ(spans[1].End, file.size());
    EXPECT_EQ(ReportFieldValue(one, "exception message"), "bad number");
    EXPECT_EQ(ReportFieldValue(one, "count"), std::nullopt);
}

TEST(ReportFileFields, CountLineFollowsTheChecksumsPaddedLikeThem) {
    const std::string counted = WithCountLine(ReportText{}.Text(), 7);
    EXPECT_NE(counted.find("callstack crc      : $11111111, $22222222, $33333333\r\n"
                           "count              : 7\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(WithCountLine(counted, 8).find("count              : 7"), std::string::npos);
    EXPECT_EQ(ReportFieldValue(WithCountLine(counted, 8), "count"), "8");
}

struct DuplicateCase {
    const char* Name;
    ReportText Old;
    ReportText New;
    ReportFileRules Rules;
    bool Merged;
};

ReportText WithChecksums(std::string checksums) {
    ReportText text;
    text.Checksums = std::move(checksums);
    return text;
}

ReportText Freeze(std::string checksums) {
    ReportText text = WithChecksums(std::move(checksums));
    text.ExceptionClass.reset();
    return text;
}

ReportText OfExecutable(std::string executable) {
    ReportText text;
    text.Executable = std::move(executable);
    return text;
}

ReportText WithoutVersion(std::string body) {
    ReportText text;
    text.Version.reset();
    text.Body = std::move(body);
    return text;
}

const ReportFileRules Defaults{};

// The duplicate rules by their numbers: 0 the first checksum, 1 the first two, 2 all three.
constexpr std::int32_t ExceptAddrIdentical = 0;
constexpr std::int32_t CrashStackIdentical = 1;
constexpr std::int32_t AllStacksIdentical = 2;

ReportFileRules Rules(bool noDupExcepts, std::int32_t exceptDef, std::int32_t freezeDef) {
    ReportFileRules rules;
    rules.NoDupExcepts = noDupExcepts;
    rules.DupExceptDef = exceptDef;
    rules.DupFreezeDef = freezeDef;
    return rules;
}

const DuplicateCase DuplicateCases[] = {
    {"same failure", {}, {}, Defaults, true},
    {"crash stack differs, rule 1",
     {},
     WithChecksums("$11111111, $2222222F, $33333333"),
     Defaults,
     false},
    {"other threads differ, rule 1",
     {},
     WithChecksums("$11111111, $22222222, $3333333F"),
     Defaults,
     true},
    {"crash stack differs, rule 0",
     {},
     WithChecksums("$11111111, $2222222F, $33333333"),
     Rules(true, ExceptAddrIdentical, AllStacksIdentical),
     true},
    {"other threads differ, rule 2",
     {},
     WithChecksums("$11111111, $22222222, $3333333F"),
     Rules(true, AllStacksIdentical, AllStacksIdentical),
     false},
    {"duplicates allowed", {}, {}, Rules(false, CrashStackIdentical, AllStacksIdentical), false},
    {"other executable", {}, OfExecutable("other"), Defaults, false},
    {"other version",
     {},
     [] {
         ReportText text;
         text.Version = "1.3.0.0";
         return text;
     }(),
     Defaults,
     false},
    {"no version, same date", WithoutVersion("a"), WithoutVersion("b"), Defaults, true},
    {"incomplete checksums", WithChecksums("$11111111, $22222222"),
     WithChecksums("$11111111, $22222222"), Defaults, false},
    {"freeze, rule 2 differs", Freeze("$11111111, $22222222, $33333333"),
     Freeze("$11111111, $22222222, $3333333F"), Defaults, false},
    {"freeze, rule 2 same", Freeze("$11111111, $22222222, $33333333"),
     Freeze("$11111111, $22222222, $33333333"), Defaults, true},
    {"freeze, rule 0", Freeze("$11111111, $22222222, $33333333"),
     Freeze("$11111111, $22222222, $3333333F"),
     Rules(true, CrashStackIdentical, ExceptAddrIdentical), true},
};

TEST(ReportFileMerge, DuplicateRules) {
    const std::string other = WithChecksums("$AAAAAAAA, $BBBBBBBB, $CCCCCCCC").Text();
    for (const DuplicateCase& test : DuplicateCases) {
        SCOPED_TRACE(test.Name);
        std::string file = MergeReportIntoFile("", other, test.Rules);
        file = MergeReportIntoFile(file, test.Old.Text(), test.Rules);
        file = MergeReportIntoFile(file, test.New.Text(), test.Rules);
        ASSERT_EQ(ReportCount(file), test.Merged ? 2u : 3u);
        const auto last = ReportSpans(file).back();
        const std::string newest = file.substr(last.Begin, last.Size());
        EXPECT_EQ(ReportFieldValue(newest, "count"),
                  test.Merged ? std::optional<std::string>("2") : std::nullopt);
        EXPECT_TRUE(newest.ends_with(test.New.Body + "\r\n\r\n"));
        EXPECT_TRUE(file.starts_with(other + "\r\n\r\n"));
    }
}

TEST(ReportFileMerge, CountGrowsWithEverySaveOfTheSameFailure) {
    std::string file;
    for (int save = 1; save <= 4; ++save) {
        file = MergeReportIntoFile(file, ReportText{}.Text(), Defaults);
    }
    ASSERT_EQ(ReportCount(file), 1u);
    EXPECT_EQ(ReportFieldValue(file, "count"), "4");
    EXPECT_EQ(file, WithCountLine(ReportText{}.Text(), 4) + "\r\n\r\n");
}

ReportText Numbered(int number, std::size_t bodySize) {
    ReportText text;
    char checksum[32];
    std::snprintf(checksum, sizeof checksum, "$%08X, $22222222, $33333333", number);
    text.Checksums = checksum;
    text.Body = "report " + std::to_string(number) + "\r\n" + std::string(bodySize, 'x');
    return text;
}

TEST(ReportFileMerge, SizeLimitDropsTheOldestReportsBelowThreeQuarters) {
    ReportFileRules rules;
    rules.BugRepFileSize = 10000;
    std::string file;
    for (int number = 0; number < 9; ++number) {
        file += Numbered(number, 900).Text() + "\r\n\r\n";
    }
    ASSERT_GT(file.size(), 10000u);
    const std::string newReport = Numbered(99, 900).Text();
    const std::string merged = MergeReportIntoFile(file, newReport, rules);
    const std::string kept = merged.substr(0, merged.size() - newReport.size() - 4);
    EXPECT_LT(kept.size() * 4, 10000u * 3);
    EXPECT_TRUE(file.ends_with(kept));
    // Whole reports go: one more would have kept the rest above three quarters.
    const auto spans = ReportSpans(file);
    const std::size_t firstKept = file.size() - kept.size();
    const auto at = std::find_if(spans.begin(), spans.end(),
                                 [&](const TextSpan& span) { return span.Begin == firstKept; });
    ASSERT_NE(at, spans.end());
    ASSERT_NE(at, spans.begin());
    EXPECT_GE((file.size() - std::prev(at)->Begin) * 4, 10000u * 3);
    EXPECT_TRUE(merged.ends_with(newReport + "\r\n\r\n"));
}

TEST(ReportFileMerge, SizeLimitKeepsAFileWhoseLastReportAloneIsTooLarge) {
    ReportFileRules rules;
    rules.BugRepFileSize = 1000;
    const std::string file = Numbered(1, 200).Text() + "\r\n\r\n" + Numbered(2, 2000).Text();
    const std::string merged = MergeReportIntoFile(file, Numbered(3, 10).Text(), rules);
    EXPECT_TRUE(merged.starts_with(file));

    rules.BugRepFileSize = 0;
    const std::string unlimited = MergeReportIntoFile(file, Numbered(3, 10).Text(), rules);
    EXPECT_TRUE(unlimited.starts_with(file));
}

TEST(ReportFileMerge, WithoutAppendingTheFileHoldsTheNewReportOnly) {
    ReportFileRules rules;
    rules.AppendBugReps = false;
    const std::string report = ReportText{}.Text();
    EXPECT_EQ(MergeReportIntoFile(report + "\r\n\r\n", report, rules), report + "\r\n\r\n");
}

}  // namespace
}  // namespace kestrix
