// \brief The disassembly listing: exact lines for hand-made code, and the listing of this test
// program's own compiled code (whose bytes differ between builds, so only its shape is checked).
#include "crash/report/disassembly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "crash/report/hex_text.h"
#include "crash/report/text_lines.h"
#include "crash/stack/parse_function.h"
#include "tests/crash/stack/code_page.h"

extern "C" [[gnu::noinline]] int KestrixDisAsmCallee(int value) {
    asm volatile("");
    return value * 3;
}

constexpr int CallerLine = __LINE__ + 1;
extern "C" [[gnu::noinline]] int KestrixDisAsmCaller(int value) {
    std::puts("Kestrix disassembly probe text");
    return KestrixDisAsmCallee(value) + 1;
}

namespace kestrix {
namespace {

constexpr std::string_view Separator =
    "; ---------------------------------------------------------";

class DisAsmOfPlacedCode : public CodePage {
  protected:
    std::string Line(std::size_t offset, std::string_view text) const {
        return HexAddress(Start() + offset) + " " + std::string(text);
    }
    std::string Spacer(std::size_t offset) const { return HexAddress(Start() + offset); }
    std::string Loc(std::size_t offset) const { return "loc_" + HexAddress(Start() + offset); }

    std::string Listing(std::size_t itemOffset, const TDisAsmOptions& options) {
        const TFunctionInfo info =
            ParseFunction(m_disassembler, Start(), {Start(), Start() + Page, std::nullopt});
        return ComposeDisAsm(info, "Probe", Start() + itemOffset, options);
    }

    // A branch around an early return.
    void PlaceBranchingCode() {
        Place(0, {{{0x55}, false},
                  {{0x85, 0xc0}, false},
                  {{0x74, 0x02}, false},
                  {{0x5d}, false},
                  {{0xc3}, false},
                  {{0x31, 0xc0}, false},
                  {{0x5d}, false},
                  {{0xc3}, false}});
    }
};

TEST_F(DisAsmOfPlacedCode, LabelsSpacersAndSeparatorsWhenFormatted) {
    PlaceBranchingCode();
    EXPECT_EQ(Listing(7, {true, 0}),
              JoinLines({
                  Line(0, "public Probe:                    ; function entry point"),
                  Line(0, "   push    rbp"),
                  Line(1, "   test    eax, eax"),
                  Line(3, "   jz      " + Loc(7)),
                  Spacer(5),
                  Line(5, "   pop     rbp"),
                  Line(6, "   ret"),
                  Spacer(7),
                  Line(7, Separator),
                  Spacer(7),
                  Line(7, Loc(7) + ":"),
                  Line(7, " > xor     eax, eax"),
                  Line(9, "   pop     rbp"),
                  Line(10, "   ret"),
              }));
}

TEST_F(DisAsmOfPlacedCode, PlainWithoutFormattingAndCutByTheLimit) {
    PlaceBranchingCode();
    const std::vector<std::string> plain{
        Line(0, "public Probe:                    ; function entry point"),
        Line(0, "   push    rbp"),
        Line(1, "   test    eax, eax"),
        Line(3, "   jz      " + Loc(7)),
        Line(5, "   pop     rbp"),
        Line(6, "   ret"),
        Line(7, " > xor     eax, eax"),
        Line(9, "   pop     rbp"),
        Line(10, "   ret"),
    };
    EXPECT_EQ(Listing(7, {false, 0}), JoinLines(plain));
    // Seven lines up to the mark are more than 2 * 12 / 10: two stay before it.
    EXPECT_EQ(Listing(7, {false, 2}),
              JoinLines({"[...]", plain[4], plain[5], plain[6], plain[7], plain[8]}));
    EXPECT_EQ(Listing(3, {false, 2}),
              JoinLines({"[...]", plain[1], plain[2], Line(3, " > jz      " + Loc(7)), plain[4],
                         plain[5], "[...]"}));
}

TEST_F(DisAsmOfPlacedCode, AJumpToTheEntryNamesTheProcedure) {
    // dec rax; jnz back to the start; ret
    Place(0, {{{0x48, 0xff, 0xc8}, false}, {{0x75, 0xfb}, false}, {{0xc3}, false}});
    EXPECT_EQ(Listing(3, {true, 0}),
              JoinLines({
                  Line(0, "public Probe:                    ; function entry point"),
                  Line(0, "   dec     rax"),
                  Line(3, " > jnz     Probe"),
                  Spacer(5),
                  Line(5, "   ret"),
              }));
    const TFunctionInfo info =
        ParseFunction(m_disassembler, Start(), {Start(), Start() + Page, std::nullopt});
    EXPECT_NE(ComposeDisAsm(info, "", 0, {false, 0}).find("public sub_" + HexDigits(Start()) + ":"),
              std::string::npos);
}

TEST_F(DisAsmOfPlacedCode, CallsThroughACellAreNamedAndBytesThatDoNotDecodeListed) {
    const auto callee = reinterpret_cast<std::uint64_t>(&KestrixDisAsmCallee);
    std::memcpy(m_page + CellOffset, &callee, sizeof callee);
    // call [rip+cell]; ret; and then a byte invalid in 64-bit code (push es)
    Place(0, {{{0xff, 0x15, Disp, Disp, Disp, Disp}, true}, {{0xc3}, false}, {{0x06}, false}});
    TFunctionInfo info =
        ParseFunction(m_disassembler, Start(), {Start(), Start() + Page, std::nullopt});
    ASSERT_EQ(info.Areas.size(), 1u);
    info.Areas.back().Last += 1;  // the invalid byte as part of the code
    const std::string cellText = "[0x" + HexAddress(Cell()) + "]";
    EXPECT_EQ(ComposeDisAsm(info, "Probe", 0, {false, 0}),
              JoinLines({
                  Line(0, "public Probe:                    ; function entry point"),
                  Line(0, PadRight("   call    " + cellText, 31) + "  ; KestrixDisAsmCallee"),
                  Line(6, "   ret"),
                  Line(7, "   db 06"),
              }));
}

TEST_F(DisAsmOfPlacedCode, NoCodeGivesTheInternalErrorText) {
    EXPECT_EQ(ComposeDisAsm(TFunctionInfo{}, "Probe", 0, {true, 5}), DisAsmInternalErrorText);
    EXPECT_EQ(GetCleartextDisAsm(Start(), Start(), {true, 5}), DisAsmInternalErrorText);
}

// The address of the call from KestrixDisAsmCaller to KestrixDisAsmCallee.
std::uintptr_t CallToCallee() {
    const CodeDisassembler disassembler;
    std::uintptr_t address = reinterpret_cast<std::uintptr_t>(&KestrixDisAsmCaller);
    for (int count = 0; count < 200; ++count) {
        const auto decoded = disassembler.Decode(address);
        if (!decoded)
            break;
        if (decoded->IsCall() &&
            decoded->Target == reinterpret_cast<std::uintptr_t>(&KestrixDisAsmCallee))
            return address;
        address = decoded->Next();
    }
    return 0;
}

TEST(GetCleartextDisAsm, ListsThisProgramsCodeWithNamesTextsAndLineNumbers) {
    ASSERT_TRUE(StartTryRead());
    EXPECT_EQ(KestrixDisAsmCaller(2), 7);  // binds the call to puts before it is read
    const auto entry = reinterpret_cast<std::uintptr_t>(&KestrixDisAsmCaller);
    const std::uintptr_t call = CallToCallee();
    ASSERT_NE(call, 0u);
    const std::string listing = GetCleartextDisAsm(entry, call, {true, 0});
    SCOPED_TRACE(listing);
    const auto lines = SplitLines(listing);
    ASSERT_GT(lines.size(), 3u);

    // The entry's line number opens the listing, zero-padded to the column's width.
    const std::string prefix = HexAddress(entry) + " ";
    ASSERT_TRUE(lines[0].starts_with(prefix)) << lines[0];
    const std::string_view afterAddress = lines[0].substr(prefix.size());
    const std::size_t numberEnd = afterAddress.find(' ');
    ASSERT_NE(numberEnd, std::string_view::npos);
    EXPECT_EQ(std::stoi(std::string(afterAddress.substr(0, numberEnd))), CallerLine);
    EXPECT_TRUE(afterAddress.substr(numberEnd + 1).starts_with("public KestrixDisAsmCaller:"));
    EXPECT_TRUE(lines[0].ends_with("  ; function entry point"));
    bool marked = false;
    for (const std::string_view line : lines) {
        if (line.starts_with(HexAddress(call)) && line.find(" > call ") != std::string::npos) {
            marked = true;
            EXPECT_TRUE(line.ends_with("  ; KestrixDisAsmCallee")) << line;
        }
    }
    EXPECT_TRUE(marked);
    EXPECT_NE(listing.find("  ; 'Kestrix disassembly probe text'"), std::string::npos);
    // puts lies in a library: its name and the library's.
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](std::string_view line) {
        const std::size_t comment = line.find("  ; ");
        return line.find(" call ") < comment && line.find("puts (lib", comment) != line.npos &&
               line.find(".so", comment) != line.npos && line.ends_with(")");
    }));

    const std::string limitedListing = GetCleartextDisAsm(entry, call, {true, 1});
    const auto limited = SplitLines(limitedListing);
    EXPECT_LE(limited.size(), 5u);
    EXPECT_EQ(limited.back(), "[...]");
}

}  // namespace
}  // namespace kestrix
