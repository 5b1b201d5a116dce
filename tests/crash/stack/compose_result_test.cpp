// Tests of the composition of the call-stack lines from resolved items: which are listed, the
// columns and their widths, the structured list and the procedure the disassembly shows.
#include "crash/stack/compose_result.h"

#include <gtest/gtest.h>

#include "crash/stack/call_stack_checksums.h"

namespace kestrix {
namespace {

TInternalStackItem Resolved(std::uintptr_t codeAddress,
                            std::string module,
                            std::string unit,
                            std::string procedure,
                            std::optional<std::uintptr_t> start,
                            std::int32_t line) {
    TInternalStackItem item;
    item.CodeAddress = codeAddress;
    item.ModuleFileName = std::move(module);
    item.UnitName = std::move(unit);
    item.ProcedureName = std::move(procedure);
    item.ProcedureStart = start;
    item.Line = line;
    return item;
}

class ComposeResultTest : public ::testing::Test {
  protected:
    // From the outermost: the creator, a library procedure twice, an invalid item, one without a
    // name, a procedure whose first line is unknown, the location.
    TInternalStackItems Items() const {
        TInternalStackItem creator = Resolved(0x7f00000a0000, "???", "", "", std::nullopt, 0);
        creator.Creator = true;
        const TInternalStackItem library =
            Resolved(0x7f0000401100, "libc.so.6", "", "abort", 0x7f00004010f0, 0);
        TInternalStackItem invalid =
            Resolved(0x403000, "gatool", "main_window", "Hidden()", 0x403000, 5);
        invalid.Invalid = true;
        const TInternalStackItem unnamed = Resolved(0x404000, "gatool", "", "", std::nullopt, 0);
        const TInternalStackItem paint =
            Resolved(0x402010, "gatool", "chart", "TChart::Paint()", 0x402000, 7);
        TInternalStackItem location =
            Resolved(0x401234, "gatool", "main_window", "TMainForm::Load()", 0x401000, 120);
        location.Location = true;
        location.FirstLineKnown = true;
        location.RelativeLine = 3;
        return {creator, library, library, invalid, unnamed, paint, location};
    }

    TStackTraceResult Compose(const TStackTraceParams& params, TInternalStackItems items) {
        TStackWalk walk(params, std::nullopt, 0, 8, ProcessProcedureTable());
        walk.Items = std::move(items);
        ComposeResult(walk);
        return walk.Result;
    }
};

TEST_F(ComposeResultTest, WritesTheListedItemsInAlignedColumns) {
    struct Case {
        const char* name;
        bool hideUglyItems;
        bool showRelAddrs;
        bool showRelLines;
        std::string text;
    };
    const Case cases[] = {
        {"plain, ugly items hidden", true, false, false,
         "0000000000401234 gatool main_window 120 TMainForm::Load()\r\n"
         "0000000000402010 gatool chart         7 TChart::Paint()\r\n"
         "00007f00000a0000 ???"},
        {"every column", false, true, true,
         "0000000000401234 +234 gatool    main_window 120 +3 TMainForm::Load()\r\n"
         "0000000000402010 +010 gatool    chart            7 TChart::Paint()\r\n"
         "00007f0000401100 +010 libc.so.6                    abort\r\n"
         "00007f00000a0000 +000 ???"},
        {"relative lines without ugly items", false, false, true,
         "0000000000401234 gatool    main_window 120 +3 TMainForm::Load()\r\n"
         "0000000000402010 gatool    chart            7 TChart::Paint()\r\n"
         "00007f0000401100 libc.so.6                    abort\r\n"
         "00007f00000a0000 ???"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TStackTraceParams params;
        params.HideUglyItems = c.hideUglyItems;
        params.ShowRelAddrs = c.showRelAddrs;
        params.ShowRelLines = c.showRelLines;
        const TStackTraceResult result = Compose(params, Items());
        EXPECT_EQ(result.Text, c.text);
        ASSERT_FALSE(result.Items.empty());
        EXPECT_EQ(result.Items.front().ProcedureOffset, 0x234u);
        EXPECT_EQ(result.Items.back().CodeAddress, 0x7f00000a0000u);
        EXPECT_FALSE(result.Items.back().HasProcedureStart);
        EXPECT_TRUE(result.AnyLineNumber);
        const CallStackChecksums checksums = ComputeCallStackChecksums(result.Items);
        EXPECT_EQ(result.Checksum1, checksums.Location);
        EXPECT_EQ(result.Checksum2, checksums.Chain);
        EXPECT_EQ(result.ProcedureStart, 0x401000u);
        EXPECT_EQ(result.ProcedureItemAddress, 0x401234u);
    }
}

TEST_F(ComposeResultTest, WritesALineAboveTheProceduresFirstLineAsANegativeOffset) {
    TInternalStackItems items = Items();
    items[6].Line = 26;
    items[6].RelativeLine = -11;
    TStackTraceParams params;
    params.ShowRelLines = true;
    const TStackTraceResult result = Compose(params, items);
    EXPECT_EQ(result.Text.substr(0, result.Text.find("\r\n")),
              "0000000000401234 gatool main_window 26 -11 TMainForm::Load()");
}

TEST_F(ComposeResultTest, ShowsTheProcedureWhoseLineIsKnownWithItsFirstLine) {
    TInternalStackItems items = Items();
    items[6].FirstLineKnown = false;
    items[5].FirstLineKnown = true;
    TStackTraceResult result = Compose({}, items);
    EXPECT_EQ(result.ProcedureStart, 0x402000u);
    EXPECT_EQ(result.ProcedureItemAddress, 0x402010u);
    // Without any, the first listed item with a procedure start.
    items[5].FirstLineKnown = false;
    result = Compose({}, items);
    EXPECT_EQ(result.ProcedureStart, 0x401000u);
}

TEST_F(ComposeResultTest, WithoutListedItemsTheResultIsEmpty) {
    TInternalStackItems items = Items();
    for (TInternalStackItem& item : items)
        item.Invalid = true;
    const TStackTraceResult result = Compose({}, items);
    EXPECT_EQ(result.Text, "");
    EXPECT_TRUE(result.Items.empty());
    EXPECT_FALSE(result.AnyLineNumber);
    EXPECT_EQ(result.Checksum1, 0u);
    EXPECT_EQ(result.ProcedureStart, 0u);
}

}  // namespace
}  // namespace kestrix
