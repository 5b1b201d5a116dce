// Tests of the procedure analysis on encoded procedures: areas, calls, unknown targets, the code
// the traversal does not reach, and invalid code.
#include "crash/stack/parse_function.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/crash/stack/code_page.h"

namespace kestrix {
namespace {

// Areas and calls as offsets from the page start, to compare with the analysis.
struct Area {
    std::size_t first, last;
    bool operator==(const Area&) const = default;
};
struct Call {
    bool isCall;
    std::size_t address, next, target;  // target: an offset, or CellValue itself
    bool operator==(const Call&) const = default;
};
struct Unknown {
    bool isCall;
    std::size_t address, next;
    bool operator==(const Unknown&) const = default;
};

// An instruction's bytes, and whether its last four bytes point at the cell.
using Piece = std::pair<Bytes, bool>;

class ParseFunctionTest : public CodePage {
  protected:
    // The procedure's bytes go to 0x100 on; extra pieces of code at their own offsets.
    TFunctionInfo Parse(const std::vector<std::pair<Bytes, bool>>& procedure,
                        std::optional<std::size_t> extentEnd,
                        const std::vector<std::pair<std::size_t, Piece>>& elsewhere = {},
                        std::size_t codeEnd = Page) {
        Place(0x100, procedure);
        for (const auto& [offset, piece] : elsewhere)
            Place(offset, {piece});
        TParseRange range{Start(), Start() + codeEnd, std::nullopt};
        if (extentEnd)
            range.ExtentEnd = Start() + *extentEnd;
        return ParseFunction(m_disassembler, Start() + 0x100, range);
    }

    std::vector<Area> Areas(const TFunctionInfo& info) const {
        std::vector<Area> areas;
        for (const TCodeArea& area : info.Areas) {
            EXPECT_EQ(area.Kind, TCodeAreaKind::akCode);
            areas.push_back({area.First - Start(), area.Last - Start()});
        }
        return areas;
    }
    std::vector<Call> Calls(const TFunctionInfo& info) const {
        std::vector<Call> calls;
        for (const TFunctionCall& call : info.Calls)
            calls.push_back({call.IsCall, call.Address - Start(), call.Next - Start(),
                             call.Target == CellValue ? CellValue : call.Target - Start()});
        return calls;
    }
    std::vector<Unknown> Unknowns(const TFunctionInfo& info) const {
        std::vector<Unknown> unknowns;
        for (const TUnknownTarget& target : info.UnknownTargets)
            unknowns.push_back({target.IsCall, target.Address - Start(), target.Next - Start()});
        return unknowns;
    }
};

TEST_F(ParseFunctionTest, FollowsBranchesAndRecordsCalls) {
    const auto info = Parse({{{0x85, 0xff}, false},                    // test edi, edi
                             {{0x74, 0x06}, false},                    // je 0x10a
                             {{0xe8, 0xf7, 0x00, 0x00, 0x00}, false},  // call 0x200
                             {{0xc3}, false},                          // ret
                             {{0x31, 0xc0}, false},                    // 0x10a: xor eax, eax
                             {{0xc3}, false}},
                            std::nullopt);
    ASSERT_TRUE(info.Valid);
    EXPECT_EQ(info.Entry, Start() + 0x100);
    EXPECT_EQ(Areas(info), (std::vector<Area>{{0x100, 0x10c}}));
    EXPECT_EQ(info.LowestAddress, Start() + 0x100);
    EXPECT_EQ(info.CodeLength, 13u);
    EXPECT_EQ(Calls(info), (std::vector<Call>{{true, 0x104, 0x109, 0x200}}));
    EXPECT_TRUE(info.UnknownTargets.empty());
    const TCodeArea* area = info.AreaHoldingReturnAddress(Start() + 0x109);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->First, Start() + 0x100);
    EXPECT_EQ(info.AreaHoldingReturnAddress(Start() + 0x100), nullptr);
    EXPECT_NE(info.AreaHoldingReturnAddress(Start() + 0x10d), nullptr);
    EXPECT_EQ(info.AreaHoldingReturnAddress(Start() + 0x10e), nullptr);
}

TEST_F(ParseFunctionTest, AJumpBeyondTheExtentIsATailCall) {
    const auto info = Parse({{{0xff, 0xc9}, false},                     // 0x100: dec ecx
                             {{0x75, 0xfc}, false},                     // jne 0x100
                             {{0xe9, 0xf7, 0x00, 0x00, 0x00}, false}},  // jmp 0x200
                            0x109);
    ASSERT_TRUE(info.Valid);
    EXPECT_EQ(Areas(info), (std::vector<Area>{{0x100, 0x108}}));
    EXPECT_EQ(Calls(info), (std::vector<Call>{{false, 0x104, 0x109, 0x200}}));
}

TEST_F(ParseFunctionTest, ACallToAJumpStubRecordsTheStubsTarget) {
    struct Case {
        const char* name;
        Bytes stub;  // its last four bytes are pointed at the cell
    };
    for (const Case& c : {Case{"jmp [rip+cell]", {0xff, 0x25, Disp, Disp, Disp, Disp}},
                          Case{"endbr64; jmp [rip+cell]",
                               {0xf3, 0x0f, 0x1e, 0xfa, 0xff, 0x25, Disp, Disp, Disp, Disp}}}) {
        SCOPED_TRACE(c.name);
        const auto info = Parse({{{0xe8, 0xfb, 0x00, 0x00, 0x00}, false},  // call 0x200
                                 {{0xc3}, false}},
                                std::nullopt, {{0x200, {c.stub, true}}});
        ASSERT_TRUE(info.Valid);
        EXPECT_EQ(Calls(info), (std::vector<Call>{{true, 0x100, 0x105, CellValue}}));
    }
}

TEST_F(ParseFunctionTest, CodeThatDoesNotDecodeMakesTheAnalysisInvalid) {
    const auto info = Parse({{{0x74, 0x01}, false},  // je 0x103
                             {{0xc3}, false},
                             {{0x06}, false}},  // 0x103: invalid in 64-bit mode
                            std::nullopt);
    EXPECT_FALSE(info.Valid);
    EXPECT_EQ(info.ErrorText, InvalidCodeText);
}

// A jump table: the case code is reached only through the table in read-only data.
const std::vector<std::pair<Bytes, bool>> JumpTableProcedure{
    {{0xff, 0x24, 0xc5, 0x00, 0x10, 0x00, 0x00}, false},  // 0x100: jmp [rax*8+0x1000]
    {{0x06}, false},                                      // 0x107: a byte that does not decode
    {{0x31, 0xc0}, false},                                // 0x108: xor eax, eax
    {{0xe8, 0xf1, 0x00, 0x00, 0x00}, false},              // 0x10a: call 0x200
    {{0xc3}, false}};                                     // 0x10f: ret

TEST_F(ParseFunctionTest, WithAnExtentTheUnreachedCodeIsDecodedAndBadBytesPassedOver) {
    const auto info = Parse(JumpTableProcedure, 0x110);
    ASSERT_TRUE(info.Valid);
    EXPECT_EQ(Unknowns(info), (std::vector<Unknown>{{false, 0x100, 0x107}}));
    EXPECT_EQ(Areas(info), (std::vector<Area>{{0x100, 0x106}, {0x108, 0x10f}}));
    EXPECT_EQ(Calls(info), (std::vector<Call>{{true, 0x10a, 0x10f, 0x200}}));
}

TEST_F(ParseFunctionTest, WithoutAnExtentTheGapRuleDecodesOnlyAGapBeforeMoreCode) {
    struct Case {
        const char* name;
        std::vector<std::pair<Bytes, bool>> procedure;
        std::vector<std::pair<std::size_t, Piece>> elsewhere;
        std::vector<Area> areas;
    };
    const Bytes nops(7, 0x90);
    const std::vector<Case> cases{
        {"no code behind the gap", JumpTableProcedure, {}, {{0x100, 0x106}}},
        {"a gap behind an unknown jump, code after it",
         {{{0x74, 0x08}, false},                                // je 0x10a
          {{0xff, 0x24, 0xc5, 0x00, 0x10, 0x00, 0x00}, false},  // jmp [rax*8+0x1000]
          {{0x90}, false},                                      // 0x109: unreached
          {{0xc3}, false}},
         {},
         {{0x100, 0x10a}}},
        {"a gap without unknown jumps",
         {{{0x74, 0x08}, false}, {{0xc3}, false}, {nops, false}, {{0xc3}, false}},
         {},
         {{0x100, 0x102}, {0x10a, 0x10a}}},
        {"a gap 505 bytes before the end of the code",
         {{{0x0f, 0x84, 0xfa, 0x01, 0x00, 0x00}, false},  // je 0x300
          {{0xff, 0xe0}, false}},                         // jmp rax
         {{0x108, {Bytes(0x1f8, 0x90), false}}, {0x300, {{0xc3}, false}}},
         {{0x100, 0x300}}},
        {"a gap 1529 bytes before the end of the code",
         {{{0x0f, 0x84, 0xfa, 0x05, 0x00, 0x00}, false},  // je 0x700
          {{0xff, 0xe0}, false}},                         // jmp rax
         {{0x108, {Bytes(0x5f8, 0x90), false}}, {0x700, {{0xc3}, false}}},
         {{0x100, 0x107}, {0x700, 0x700}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto info = Parse(c.procedure, std::nullopt, c.elsewhere);
        ASSERT_TRUE(info.Valid);
        EXPECT_EQ(Areas(info), c.areas);
    }
}

}  // namespace
}  // namespace kestrix
