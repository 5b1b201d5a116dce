// Tests of the address texts on this program's own code, which carries its debug information.
#include "crash/stack/stack_addr_to_str.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdio>

#include "tests/crash/stack/guarded_pages.h"

namespace kestrix {
namespace {

std::string Hex16(std::uintptr_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%016jx", static_cast<std::uintmax_t>(value));
    return text;
}

// The line of the probe's only statement, where its code starts.
constexpr int ProbeLine = __LINE__ + 2;
[[gnu::noinline]] int AddressTextProbe(int value) {
    return value + 1;
}

TEST(StackAddrToStr, NamesModuleUnitLineAndProcedure) {
    const auto entry = reinterpret_cast<std::uintptr_t>(&AddressTextProbe);
    const std::string location =
        " kestrix_stack_tests stack_addr_to_str_test " + std::to_string(ProbeLine) + " ";
    const std::string name = "kestrix::(anonymous namespace)::AddressTextProbe(int)";
    EXPECT_EQ(StackAddrToStr(entry, false, false), Hex16(entry) + location + name);
    EXPECT_EQ(StackAddrToStr(entry, true, true), Hex16(entry) + " +0" + location + "+0 " + name);
    EXPECT_EQ(AddressTextProbe(1), 2);
}

TEST(StackAddrToStr, AnAddressWithoutDebugInformationIsUnknown) {
    GuardedPages pages(GuardedPages::InaccessibleAbove);
    const std::uintptr_t address = pages.ReadableStart() + 0x10;
    EXPECT_EQ(StackAddrToStr(address, false, false), Hex16(address) + " ???");
    EXPECT_EQ(StackAddrToStr(address, true, true), Hex16(address) + " +0 ???");
}

TEST(StackAddrToStr, AnInternalErrorNamesThePartAndThePlaceThatFailed) {
    const std::string text = InternalError("InDeepChecks", false, false);
    const std::string head = ">> internal error in InDeepChecks:\r\n";
    ASSERT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find(" kestrix_stack_tests stack_addr_to_str_test "), std::string::npos) << text;
    EXPECT_NE(text.find("NamesThePartAndThePlaceThatFailed"), std::string::npos) << text;
    EXPECT_EQ(InternalErrorAt("FillFinalOutput", 0x10, true, false),
              ">> internal error in FillFinalOutput:\r\n" + Hex16(0x10) + " +0 ???");
}

}  // namespace
}  // namespace kestrix
