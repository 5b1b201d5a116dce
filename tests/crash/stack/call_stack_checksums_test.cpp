// Tests of the call-stack checksums against a bit-by-bit CRC-32 written out here.
#include "crash/stack/call_stack_checksums.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

// The CRC-32 update bit by bit, reflected polynomial 0xEDB88320, no inversion.
std::uint32_t BitwiseCrc(std::uint32_t crc, std::string_view bytes) {
    for (const char byte : bytes) {
        crc ^= static_cast<std::uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return crc;
}

std::string LittleEndian(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    return bytes;
}

TStackItem Item(std::uintptr_t address,
                std::uintptr_t offset,
                std::string module,
                std::string unit,
                std::string procedure) {
    TStackItem item;
    item.CodeAddress = address;
    item.ProcedureOffset = offset;
    item.HasProcedureStart = true;
    item.ModuleFileName = std::move(module);
    item.UnitName = std::move(unit);
    item.ProcedureName = std::move(procedure);
    return item;
}

TEST(CallStackChecksums, ThePlainCrcHasNoInversion) {
    // The standard CRC-32 of "123456789" is 0xCBF43926 with both inversions.
    EXPECT_EQ(UpdatePlainCrc32(0xffffffffu, "123456789"), ~0xCBF43926u);
    EXPECT_EQ(UpdatePlainCrc32(0, ""), 0u);
    EXPECT_EQ(UpdatePlainCrc32(0x12345678u, "call stack"), BitwiseCrc(0x12345678u, "call stack"));
}

TEST(CallStackChecksums, AnItemsValueDoesNotDependOnWhereItsModuleIsLoaded) {
    const TStackItem item = Item(0x555555001234, 0x34, "Gatool", "main_window", "TMainForm::Load");
    EXPECT_EQ(CallStackItemValue(item),
              BitwiseCrc(BitwiseCrc(BitwiseCrc(0x34, "gatool"), "main_window"), "tmainform::load"));
    EXPECT_EQ(
        CallStackItemValue(Item(0x7f0000991234, 0x34, "gatool", "Main_Window", "TMainForm::Load")),
        CallStackItemValue(item));
    EXPECT_NE(CallStackItemValue(Item(0x555555001234, 0x34, "gatool", "main_window", "Other")),
              CallStackItemValue(item));
    // Without a unit the unit is left out.
    EXPECT_EQ(CallStackItemValue(Item(1, 0x34, "gatool", "", "f")),
              BitwiseCrc(BitwiseCrc(0x34, "gatool"), "f"));

    TStackItem unnamed = item;
    unnamed.ProcedureName.clear();
    EXPECT_EQ(CallStackItemValue(unnamed), 0x55001234u);
    TStackItem withoutStart = item;
    withoutStart.HasProcedureStart = false;
    EXPECT_EQ(CallStackItemValue(withoutStart), 0x55001234u);
    // An address without a procedure counts from its module's load address.
    withoutStart.ModuleHandle = 0x555555000000;
    EXPECT_EQ(CallStackItemValue(withoutStart), 0x1234u);
    withoutStart.CodeAddress = 0x7f0000991234;
    withoutStart.ModuleHandle = 0x7f0000990000;
    EXPECT_EQ(CallStackItemValue(withoutStart), 0x1234u);
}

TEST(CallStackChecksums, TheChainTakesEveryItemInOrder) {
    const TStackTrace items{Item(0x1000, 4, "a", "u", "p"), Item(0x2000, 8, "b", "", "q"),
                            Item(0x3000, 0, "c", "v", "r")};
    const std::uint32_t first = CallStackItemValue(items[0]);
    std::uint32_t chain = first;
    for (std::size_t i = 1; i < items.size(); ++i)
        chain = BitwiseCrc(chain, LittleEndian(CallStackItemValue(items[i])));
    const CallStackChecksums checksums = ComputeCallStackChecksums(items);
    EXPECT_EQ(checksums.Location, first);
    EXPECT_EQ(checksums.Chain, chain);

    const TStackTrace swapped{items[0], items[2], items[1]};
    EXPECT_EQ(ComputeCallStackChecksums(swapped).Location, first);
    EXPECT_NE(ComputeCallStackChecksums(swapped).Chain, chain);
    EXPECT_EQ(ComputeCallStackChecksums({items[0]}).Chain, first);
    EXPECT_EQ(ComputeCallStackChecksums({}).Chain, 0u);
}

TEST(CallStackChecksums, AllStacksTakeTheChainsOfThreadsWithALineNumber) {
    TStackItem withLine = Item(0x1000, 4, "a", "u", "p");
    withLine.Line = 12;
    const TStackItem withoutLine = Item(0x2000, 8, "b", "", "q");
    const std::uint32_t crashed = 0x8badf00du;
    struct Case {
        const char* name;
        TStackTrace thread;
        bool extends;
    };
    const Case cases[] = {
        {"a thread with a line number", {withoutLine, withLine}, true},
        {"a thread with a line only at its location", {withLine}, true},
        {"a thread without any line number", {withoutLine, withoutLine}, false},
        {"a thread without listed items", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uint32_t expected =
            c.extends ? BitwiseCrc(crashed, LittleEndian(ComputeCallStackChecksums(c.thread).Chain))
                      : crashed;
        EXPECT_EQ(ExtendAllStacksChecksum(crashed, c.thread), expected);
    }
    // Thread by thread: the order of the threads counts.
    const TStackTrace first{withLine};
    const TStackTrace second{withoutLine, withLine};
    EXPECT_NE(ExtendAllStacksChecksum(ExtendAllStacksChecksum(crashed, first), second),
              ExtendAllStacksChecksum(ExtendAllStacksChecksum(crashed, second), first));
}

}  // namespace
}  // namespace kestrix
