// The details view: its tabs from the report's sections, the rendered report read back, and the
// column views of aligned sections.
#include "crash/ui/details_view.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTreeWidget>

#include "crash/ui/report_text_fields.h"
#include "crash/ui/section_rows.h"
#include "crash/ui/text_columns.h"

namespace kestrix {
namespace {

TEST(DetailsView, NamesTabsGeneralCallStacksThenFurtherSectionsShortened) {
    EXPECT_EQ(
        DetailsTabNames({"main thread ($10)", "cpu registers", "stack dump", "disassembling"}),
        (std::vector<std::string>{"general", "call stack", "cpu regs", "stack dump", "disasm"}));
    EXPECT_EQ(DetailsTabNames({"worker ($11)", "main thread ($10)", "modules", "processes"}),
              (std::vector<std::string>{"general", "call stacks", "modules", "processes"}));
}

TEST(ReportTextFields, ReadsTheHeaderAndTheSectionsBackWithEmptyLinesAndColons) {
    const ReportTextFields fields = ReadReportText(
        "date/time : 2026-12-10\r\nexception : EConvertError: bad\r\n\r\n"
        "main thread ($1f2):\r\nfirst\r\n.\r\nthird\r\n\r\nnote: kept\r\nline");
    ASSERT_EQ(fields.Header.size(), 2U);
    EXPECT_EQ(fields.Header[1].first, "exception");
    EXPECT_EQ(fields.Header[1].second, "EConvertError: bad");
    ASSERT_EQ(fields.Sections.size(), 2U);
    EXPECT_EQ(fields.Sections[0].first, "main thread ($1f2)");
    EXPECT_EQ(fields.Sections[0].second, "first\n\nthird");
    EXPECT_EQ(fields.Sections[1].first, "note: kept");
    EXPECT_EQ(fields.Sections[1].second, "line");
}

TEST(TextColumns, SplitsWhereEveryLineHasABlankAndKeepsExtraSplitsInTheLastCell) {
    const auto rows = SplitTextColumns(
        {"00400000 gatool  1.0.0.0 /opt/gatool", "7f001000 libc.so 2.36    /usr/lib/x86 64"}, 4);
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"00400000", "gatool", "1.0.0.0", "/opt/gatool"}));
    EXPECT_EQ(rows[1],
              (std::vector<std::string>{"7f001000", "libc.so", "2.36", "/usr/lib/x86 64"}));
}

TEST(SectionRows, SplitsRegistersStackDumpAndDisassemblyByTheirOwnLayouts) {
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(SectionRows("cpu registers", {"r8 = 00000000000000ff", "rax = 0000000000000001"}, 2),
              (Rows{{"r8", "00000000000000ff"}, {"rax", "0000000000000001"}}));
    EXPECT_EQ(SectionRows("stack dump", {"7ffd2c1e0a40  c2 a1 45 00  ..E."}, 3),
              (Rows{{"7ffd2c1e0a40", "c2 a1 45 00", "..E."}}));
    EXPECT_EQ(SectionRows("disassembling",
                          {"000000000045a1c0 0212 mov rax, [rbp-8]",
                           "000000000045a1c2      call 000000000045b000 ; EConvertError.Create"},
                          4),
              (Rows{{"0212", "000000000045a1c0", "mov rax, [rbp-8]", ""},
                    {"", "000000000045a1c2", "call 000000000045b000", "EConvertError.Create"}}));
    // A call-stack line without unit and line keeps its function in the function column.
    EXPECT_EQ(SectionRows("call stack", {"7f3a0012 +012 libc.so.6 poll"}, 7),
              (Rows{{"7f3a0012", "+012", "libc.so.6", "", "", "", "poll"}}));
}

TEST(DetailsView, RebuildsItsTabsWhenTheReportChangesKeepingTheCurrentTab) {
    DetailsView view(nullptr);
    const std::string waiting =
        "exception : EConvertError\r\n\r\nmain thread ($10):\r\n>> will be calculated soon\r\n"
        "\r\nmodules:\r\n>> will be calculated soon";
    view.ShowReport(waiting);
    ASSERT_EQ(view.count(), 3);
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(view.widget(2)), nullptr);
    view.setCurrentIndex(2);
    view.ShowReport(
        "exception : EConvertError\r\n\r\nmain thread ($10):\r\n00401000 gatool main\r\n"
        "\r\nmodules:\r\n00400000 gatool 1.0.0.0 /opt");
    EXPECT_EQ(view.currentIndex(), 2);
    auto* modules = qobject_cast<QTreeWidget*>(view.widget(2));
    ASSERT_NE(modules, nullptr);
    EXPECT_EQ(modules->headerItem()->text(3), "path");
    EXPECT_EQ(modules->topLevelItem(0)->text(2), "1.0.0.0");
    auto* stacks = qobject_cast<QTreeWidget*>(view.widget(1));
    ASSERT_NE(stacks, nullptr);
    EXPECT_EQ(stacks->topLevelItem(0)->text(0), ">> main thread ($10)");
    auto* general = qobject_cast<QTreeWidget*>(view.widget(0));
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(general->topLevelItem(0)->text(1), "EConvertError");
}

}  // namespace
}  // namespace kestrix
