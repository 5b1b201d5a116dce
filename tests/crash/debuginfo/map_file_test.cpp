// \brief The lookups of TMapFile on a small module: segment, procedure and line rules, lookups by
// name, minimal names and the export.
#include "crash/debuginfo/map_file.h"

#include <gtest/gtest.h>

#include "crash/debuginfo/debug_info_container.h"
#include "crash/debuginfo/map_file_stream.h"

namespace kestrix {
namespace {

constexpr std::uintptr_t Base = 0x400000;
constexpr std::uintptr_t Top = Base + 0x1000;

// Two units: "alpha" [0x100, 0x300) with lines, a gap, "beta" [0x400, 0x1000). Procedures start at
// 0x120, 0x200 and 0x500; the last reaches up to the top of code.
MapFileContent TwoUnits() {
    MapFileContent content;
    content.Segments.push_back({0x100, 0x200, content.AddName("alpha"), true});
    content.Segments.push_back({0x400, 0xC00, content.AddName("beta"), true});
    content.Publics.push_back({0x120, content.AddName("alpha_one()")});
    content.Publics.push_back({0x200, content.AddName("alpha_two()")});
    content.Publics.push_back({0x500, content.AddName("beta_last()")});
    content.Lines.push_back({0x120, 10});
    content.Lines.push_back({0x130, 11});
    content.Lines.push_back({0x200, 20});
    content.Lines.push_back({0x500, 50});
    content.Lines.push_back({0x520, 51});
    content.EntryPoint = 0x120;
    return content;
}

TMapFile TwoUnitMap() {
    return TMapFile(TwoUnits(), {Base, Base, Top, 0, 0});
}

struct LookupCase {
    const char* What;
    std::uintptr_t Offset;
    const char* Unit;
    const char* Procedure;
    std::int32_t Line;
};

void PrintTo(const LookupCase& c, std::ostream* out) {
    *out << c.What;
}

class MapFileLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(MapFileLookup, FindsUnitProcedureAndLine) {
    const TMapFile map = TwoUnitMap();
    const LookupCase c = GetParam();
    SCOPED_TRACE(c.What);
    const std::uintptr_t address = Base + c.Offset;
    const auto segment = map.FindSegment(address);
    EXPECT_EQ(segment ? std::string(segment->UnitName) : "", c.Unit);
    const auto symbol = map.FindPublic(address);
    EXPECT_EQ(symbol ? std::string(symbol->Name) : "", c.Procedure);
    EXPECT_EQ(map.FindLine(address).Line, c.Line);
}

INSTANTIATE_TEST_SUITE_P(
    Rules,
    MapFileLookup,
    testing::Values(
        LookupCase{"below the first procedure of the module", 0x110, "alpha", "", 0},
        LookupCase{"first byte of a procedure", 0x120, "alpha", "alpha_one()", 10},
        LookupCase{"inside a line", 0x135, "alpha", "alpha_one()", 11},
        LookupCase{"last byte before the next procedure", 0x1FF, "alpha", "alpha_one()", 11},
        LookupCase{"between the units: the line of alpha is not reported", 0x350, "", "alpha_two()",
                   0},
        LookupCase{"beta before its first line: alpha's line is not reported", 0x480, "beta",
                   "alpha_two()", 0},
        LookupCase{"last procedure, below the top of code", 0xFFF, "beta", "beta_last()", 51},
        LookupCase{"at the top of code", 0x1000, "", "", 0},
        LookupCase{"below the base of code", std::uintptr_t(-0x10), "", "", 0}));

TEST(MapFile, FindLineGivesWhereTheNextLineStarts) {
    const TMapFile map = TwoUnitMap();
    EXPECT_EQ(map.FindLine(Base + 0x125).NextLineAddress, Base + 0x130);
    EXPECT_EQ(map.FindLine(Base + 0x600).NextLineAddress, Top);
}

TEST(MapFile, WithoutLineTableFlaggedSegmentsGiveMinusOne) {
    MapFileContent content = TwoUnits();
    content.Lines.clear();
    content.Segments[1].HasLines = false;
    const TMapFile map(std::move(content), {Base, Base, Top, 0, 0});
    EXPECT_EQ(map.FindLine(Base + 0x150).Line, -1);
    EXPECT_EQ(map.FindLine(Base + 0x600).Line, 0);
    EXPECT_EQ(map.FindLine(Base + 0x350).Line, 0);
}

TEST(MapFile, FindsAProcedureByUnitAndName) {
    const TMapFile map = TwoUnitMap();
    const auto found = map.FindPublic("beta", "beta_last()");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Address, Base + 0x500);
    EXPECT_FALSE(map.FindPublic("alpha", "beta_last()"));
    EXPECT_FALSE(map.FindPublic("beta", "beta_last"));
}

TEST(MapFile, GetMapFileInfosNamesModuleUnitLineAndProcedure) {
    TMapFile map = TwoUnitMap();
    map.SetFileNames("gatool", "gatool.kes");
    const MapFileInfos infos = map.GetMapFileInfos(Base + 0x205);
    EXPECT_TRUE(infos.Found);
    EXPECT_EQ(infos.ModuleFileName, "gatool");
    EXPECT_EQ(infos.UnitName, "alpha");
    EXPECT_EQ(infos.Line, 20);
    EXPECT_EQ(infos.ProcedureStart, Base + 0x200);
    EXPECT_EQ(infos.ProcedureName, "alpha_two()");
    EXPECT_FALSE(map.GetMapFileInfos(Top).Found);
    EXPECT_FALSE(TMapFile().GetMapFileInfos(Base + 0x205).Found);
}

TEST(MapFile, MinimalInformationNamesSegmentsAndPublicsByIndex) {
    MapFileContent content = ReadMapFileStream(WriteMapFileStream(TwoUnits(), true), true);
    const TMapFile map(std::move(content), {Base, Base, Top, 0, 0});
    EXPECT_EQ(map.FindSegment(Base + 0x600)->UnitName, "segment%1");
    EXPECT_EQ(map.FindPublic(Base + 0x600)->Name, "public%2");
    EXPECT_EQ(map.FindLine(Base + 0x600).Line, 51);
}

TEST(MapFile, ExportRoundTripsThroughTheContainer) {
    const TMapFile map = TwoUnitMap();
    for (const int version : {2, 3}) {
        SCOPED_TRACE(version);
        const auto container = ReadDebugInfoContainer(map.Export(version, false));
        ASSERT_TRUE(container);
        const TMapFile again(ReadMapFileStream(container->PlainStream, false),
                             {Base, Base, Top, 0, 0});
        for (std::uintptr_t offset = 0; offset < 0x1000; offset += 0x10) {
            EXPECT_EQ(again.FindPublic(Base + offset).has_value(),
                      map.FindPublic(Base + offset).has_value());
            EXPECT_EQ(again.FindLine(Base + offset).Line, map.FindLine(Base + offset).Line);
        }
        EXPECT_EQ(again.FindPublic(Base + 0x600)->Name, "beta_last()");
        EXPECT_EQ(again.EntryPoint(), Base + 0x120);
    }
    const auto minimal = ReadDebugInfoContainer(map.Export(3, true));
    ASSERT_TRUE(minimal);
    EXPECT_TRUE(minimal->Header.Minimal());
}

}  // namespace
}  // namespace kestrix
