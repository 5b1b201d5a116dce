// Tests of the instruction decoder on encoded x86-64 instructions and on this program's own code.
#include "crash/stack/code_disassembler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "crash/stack/guarded_read.h"
#include "tests/crash/stack/code_page.h"

namespace kestrix {
namespace {

struct BranchCase {
    const char* name;
    Bytes bytes;
    bool ripRelative;
    std::uint8_t length;
    TBranchKind branch;
    TTargetSource source;
    // The target as an offset from the instruction, or the cell's value for a cell target.
    std::int64_t targetOffset;
};

TEST_F(CodePage, RecognisesBranchesTheirLengthsAndFixedTargets) {
    using enum TBranchKind;
    using enum TTargetSource;
    const std::vector<BranchCase> cases{
        {"call rel32", {0xe8, 0x10, 0, 0, 0}, false, 5, bkCall, tsImmediate, 0x15},
        {"call rel32 to itself", {0xe8, 0xfb, 0xff, 0xff, 0xff}, false, 5, bkCall, tsImmediate, 0},
        {"call [rip+cell]", {0xff, 0x15, Disp, Disp, Disp, Disp}, true, 6, bkCall, tsMemoryCell, 0},
        {"jmp [rip+cell], a PLT stub",
         {0xff, 0x25, Disp, Disp, Disp, Disp},
         true,
         6,
         bkJump,
         tsMemoryCell,
         0},
        {"call rax", {0xff, 0xd0}, false, 2, bkCall, tsNone, 0},
        {"call [rbx+8]", {0xff, 0x53, 0x08}, false, 3, bkCall, tsNone, 0},
        {"call far [rax]", {0xff, 0x18}, false, 2, bkCall, tsNone, 0},
        {"jmp [rax*8+table], a jump table",
         {0xff, 0x24, 0xc5, 0, 0x10, 0, 0},
         false,
         7,
         bkJump,
         tsNone,
         0},
        {"jmp rel8", {0xeb, 0x10}, false, 2, bkJump, tsImmediate, 0x12},
        {"jmp rel32", {0xe9, 0, 0x01, 0, 0}, false, 5, bkJump, tsImmediate, 0x105},
        {"je rel8 backwards", {0x74, 0xfe}, false, 2, bkConditionalJump, tsImmediate, 0},
        {"jne rel32", {0x0f, 0x85, 0x20, 0, 0, 0}, false, 6, bkConditionalJump, tsImmediate, 0x26},
        {"ret", {0xc3}, false, 1, bkReturn, tsNone, 0},
        {"ret 8", {0xc2, 0x08, 0}, false, 3, bkReturn, tsNone, 0},
        {"ud2", {0x0f, 0x0b}, false, 2, bkStop, tsNone, 0},
        {"int3", {0xcc}, false, 1, bkStop, tsNone, 0},
        {"push rbp", {0x55}, false, 1, bkNone, tsNone, 0},
        {"mov rax, [rsp+0x88]",
         {0x48, 0x8b, 0x84, 0x24, 0x88, 0, 0, 0},
         false,
         8,
         bkNone,
         tsNone,
         0},
        {"endbr64", {0xf3, 0x0f, 0x1e, 0xfa}, false, 4, bkNone, tsNone, 0},
    };
    for (const BranchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uintptr_t address = Place(0x100, {{c.bytes, c.ripRelative}}).front();
        const auto decoded = m_disassembler.Decode(address);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->Address, address);
        EXPECT_EQ(decoded->Length, c.length);
        EXPECT_EQ(decoded->Next(), address + c.length);
        EXPECT_EQ(decoded->Branch, c.branch);
        EXPECT_EQ(decoded->TargetSource, c.source);
        if (c.source == tsMemoryCell) {
            EXPECT_EQ(decoded->TargetCell, Cell());
            EXPECT_EQ(decoded->Target, CellValue);
        } else if (c.source == tsImmediate) {
            EXPECT_EQ(decoded->Target, address + static_cast<std::uintptr_t>(c.targetOffset));
        }
    }
}

TEST_F(CodePage, RejectsInvalidAndUnreadableCode) {
    struct Case {
        const char* name;
        Bytes bytes;
        std::size_t offset;
    };
    for (const Case& c : {
             Case{"push es, invalid in 64-bit mode", {0x06}, 0x100},
             Case{"lock on a register move", {0xf0, 0x48, 0x89, 0xc0}, 0x100},
             Case{"call cut by the inaccessible page", {0xe8, 0x00, 0x00}, Page - 3},
         }) {
        SCOPED_TRACE(c.name);
        const std::uintptr_t address = Place(c.offset, {{c.bytes, false}}).front();
        EXPECT_FALSE(m_disassembler.Decode(address).has_value());
        EXPECT_FALSE(m_disassembler.Text(address).has_value());
    }
    EXPECT_FALSE(m_disassembler.Decode(Start() + Page).has_value());
    EXPECT_FALSE(m_disassembler.Decode(0).has_value());

    // The last byte before the inaccessible page still decodes on its own.
    const std::uintptr_t last = Place(Page - 1, {{{0xc3}, false}}).front();
    const auto ret = m_disassembler.Decode(last);
    ASSERT_TRUE(ret.has_value());
    EXPECT_EQ(ret->Branch, TBranchKind::bkReturn);
}

struct RegisterCase {
    const char* name;
    std::vector<std::pair<Bytes, bool>> instructions;  // the last one is the branch
    TTargetSource source;
    std::uint64_t target;  // 0: the cell's value
};

TEST_F(CodePage, CarriesRegisterValuesToTheBranch) {
    using enum TTargetSource;
    constexpr std::uint64_t Imm = 0x00005555aaaa0000;
    const Bytes movRaxImm{0x48, 0xb8, 0x00, 0x00, 0xaa, 0xaa, 0x55, 0x55, 0x00, 0x00};
    const Bytes movRbxImm{0x48, 0xbb, 0x00, 0x00, 0xaa, 0xaa, 0x55, 0x55, 0x00, 0x00};
    const Bytes callRel{0xe8, 0x00, 0x00, 0x00, 0x00};
    const Bytes callRax{0xff, 0xd0};
    const std::vector<RegisterCase> cases{
        {"lea rax, [rip+cell]; call [rax]",
         {{{0x48, 0x8d, 0x05, Disp, Disp, Disp, Disp}, true}, {{0xff, 0x10}, false}},
         tsRegister,
         0},
        {"mov rax, [rip+cell]; call rax",
         {{{0x48, 0x8b, 0x05, Disp, Disp, Disp, Disp}, true}, {callRax, false}},
         tsRegister,
         0},
        {"mov rax, imm64; call rax", {{movRaxImm, false}, {callRax, false}}, tsRegister, Imm},
        {"mov eax, imm32 clears the upper half; jmp rax",
         {{{0x48, 0xc7, 0xc0, 0xff, 0xff, 0xff, 0xff}, false},  // mov rax, -1
          {{0xb8, 0x78, 0x56, 0x34, 0x12}, false},
          {{0xff, 0xe0}, false}},
         tsRegister,
         0x12345678},
        {"mov rax, imm64; mov rcx, rax; call rcx",
         {{movRaxImm, false}, {{0x48, 0x89, 0xc1}, false}, {{0xff, 0xd1}, false}},
         tsRegister,
         Imm},
        {"a call in between keeps rbx",
         {{movRbxImm, false}, {callRel, false}, {{0xff, 0xd3}, false}},
         tsRegister,
         Imm},
        {"a call in between loses rax",
         {{movRaxImm, false}, {callRel, false}, {callRax, false}},
         tsNone,
         0},
        {"add changes rax to a value not carried",
         {{movRaxImm, false}, {{0x48, 0x83, 0xc0, 0x08}, false}, {callRax, false}},
         tsNone,
         0},
        {"a load of al spoils rax",
         {{movRaxImm, false}, {{0x8a, 0x03}, false}, {callRax, false}},
         tsNone,
         0},
        {"cpuid writes rax implicitly",
         {{movRaxImm, false}, {{0x0f, 0xa2}, false}, {callRax, false}},
         tsNone,
         0},
        {"xor eax, eax; jmp [rax*8+cell]",
         {{{0x31, 0xc0}, false}, {{0xff, 0x24, 0xc5, Disp, Disp, Disp, Disp}, false}},
         tsNone,
         0},
    };
    for (const RegisterCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto addresses = Place(0x100, c.instructions);
        RegisterValues registers;
        std::optional<TDecodedInstruction> decoded;
        for (const std::uintptr_t address : addresses) {
            decoded = m_disassembler.Decode(address, &registers);
            ASSERT_TRUE(decoded.has_value());
        }
        EXPECT_TRUE(decoded->IsCall() || decoded->IsJump());
        EXPECT_EQ(decoded->TargetSource, c.source);
        if (c.source != tsNone) {
            EXPECT_EQ(decoded->Target, c.target == 0 ? CellValue : c.target);
        }
        // Without carried values the same branch has no target.
        EXPECT_FALSE(m_disassembler.Decode(addresses.back())->HasTarget());
    }
}

TEST_F(CodePage, WritesIntelSyntaxWithAbsoluteAddresses) {
    struct Case {
        Bytes bytes;
        bool ripRelative;
        std::string expected;  // with %CELL% for the cell's address and %NEXT% for start + 0x15
    };
    for (const Case& c : {
             Case{{0x55}, false, "push rbp"},
             Case{{0x48, 0x8b, 0x84, 0x24, 0x88, 0, 0, 0}, false, "mov rax, [rsp+0x88]"},
             Case{{0xe8, 0x10, 0, 0, 0}, false, "call %NEXT%"},
             Case{{0xff, 0x15, Disp, Disp, Disp, Disp}, true, "call [%CELL%]"},
             Case{{0xc2, 0x08, 0}, false, "ret 0x08"},
         }) {
        const std::uintptr_t address = Place(0, {{c.bytes, c.ripRelative}}).front();
        auto hex = [](std::uintptr_t value) {
            char text[32];
            std::snprintf(text, sizeof text, "0x%016lX", static_cast<unsigned long>(value));
            return std::string(text);
        };
        std::string expected = c.expected;
        if (auto at = expected.find("%CELL%"); at != std::string::npos)
            expected.replace(at, 6, hex(Cell()));
        if (auto at = expected.find("%NEXT%"); at != std::string::npos)
            expected.replace(at, 6, hex(Start() + 0x15));
        SCOPED_TRACE(expected);
        EXPECT_EQ(m_disassembler.Text(address), expected);
    }
}

// This program's own code: a call to a function, and a call through a function pointer held in
// a variable.
[[gnu::noinline]] int Callee(int value) {
    asm volatile("");
    return value * 3;
}
int (*volatile g_calleePointer)(int) = &Callee;
[[gnu::noinline]] int CallsDirectly(int value) {
    return Callee(value) + 1;
}
[[gnu::noinline]] int CallsThroughPointer(int value) {
    return g_calleePointer(value) + 1;
}

// The targets of the calls decoded from the start of a function to its first return.
std::vector<std::uintptr_t> CallTargets(const CodeDisassembler& disassembler,
                                        std::uintptr_t entry) {
    std::vector<std::uintptr_t> targets;
    RegisterValues registers;
    std::uintptr_t address = entry;
    for (int count = 0; count < 100; ++count) {
        const auto decoded = disassembler.Decode(address, &registers);
        if (!decoded || decoded->Branch == TBranchKind::bkReturn)
            break;
        if (decoded->IsCall() && decoded->HasTarget())
            targets.push_back(decoded->Target);
        address = decoded->Next();
    }
    return targets;
}

TEST(CodeDisassembler, FindsTheCallTargetsInCompiledCode) {
    ASSERT_TRUE(StartTryRead());
    const CodeDisassembler disassembler;
    const auto callee = reinterpret_cast<std::uintptr_t>(&Callee);
    EXPECT_EQ(CallTargets(disassembler, reinterpret_cast<std::uintptr_t>(&CallsDirectly)),
              std::vector{callee});
    EXPECT_EQ(CallTargets(disassembler, reinterpret_cast<std::uintptr_t>(&CallsThroughPointer)),
              std::vector{callee});
    EXPECT_EQ(CallsDirectly(2) + CallsThroughPointer(2), 14);
}

}  // namespace
}  // namespace kestrix
