// \brief Procedure names from symbol names and unit names from source paths.
#include "crash/debuginfo/symbol_names.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(ProcedureName, DemangledWithSplitOffPartsUnderTheirParent) {
    const std::pair<const char*, const char*> cases[] = {
        {"_ZN6gatool10LocatePeakEi", "gatool::LocatePeak(int)"},
        {"_ZN6gatool10LocatePeakEi.cold", "gatool::LocatePeak(int)"},
        {"_ZL7ReadAllv.isra.0", "ReadAll()"},
        {"_ZL7ReadAllv.part.0.cold", "ReadAll()"},
        {"main.cold", "main"},
        {"memcpy", "memcpy"},
        {"_Znotmangled", "_Znotmangled"},
    };
    for (const auto& [symbol, procedure] : cases) {
        SCOPED_TRACE(symbol);
        EXPECT_EQ(ProcedureName(symbol), procedure);
    }
}

TEST(UnitName, SourceFileNameWithoutFolderAndExtension) {
    EXPECT_EQ(UnitName("/work/main/analysis/peak_location.cpp"), "peak_location");
    EXPECT_EQ(UnitName("qrc_icons.cpp"), "qrc_icons");
    EXPECT_EQ(UnitName("../sysdeps/x86_64/start.S"), "start");
    EXPECT_EQ(UnitName("/src/archive.tar.gz"), "archive.tar");
    EXPECT_EQ(UnitName("/src/Makefile"), "Makefile");
}

}  // namespace
}  // namespace kestrix
