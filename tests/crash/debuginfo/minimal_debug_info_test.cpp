// \brief Minimal debug information: this program's section holds addresses only, and the full
// information lies beside it in a ".kes" file that is taken only when its identification matches.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "crash/debuginfo/debug_info_container.h"
#include "crash/debuginfo/map_file_cache.h"
#include "crash/debuginfo/map_file_loader.h"
#include "crash/debuginfo/map_file_stream.h"
#include "module_copy.h"

namespace kestrix {
namespace {

[[gnu::noinline]] int MinimalMarker(int value) {
    volatile int result = value + 7;
    return result;
}

const std::string Executable = KESTRIX_DEBUGINFO_TEST_EXECUTABLE;
const std::string FullMarkerName = "kestrix::(anonymous namespace)::MinimalMarker(int)";

std::string SideFileBytes() {
    std::ifstream file(Executable + ".kes", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(MinimalDebugInfo, TheRunningProgramResolvesThroughTheFileBesideIt) {
    const auto address = reinterpret_cast<std::uintptr_t>(&MinimalMarker);
    const auto map = FindMapFile(address);
    ASSERT_TRUE(map->Valid());
    EXPECT_EQ(map->DebugInfoFileName(), Executable + ".kes");
    EXPECT_EQ(map->MinDebugInfo(), "");
    const MapFileInfos infos = map->GetMapFileInfos(address + 2);
    EXPECT_EQ(infos.ProcedureName, FullMarkerName);
    EXPECT_EQ(infos.UnitName, "minimal_debug_info_test");
    EXPECT_GT(infos.Line, 0);
}

TEST(MinimalDebugInfo, WithoutTheFileTheSectionGivesAddressesAndTheIdentification) {
    const auto side = ReadDebugInfoContainer(SideFileBytes());
    ASSERT_TRUE(side);
    const test::ModuleCopy copy(Executable);
    const TMapFile minimal = LoadModuleMapFile(copy.Path(), 0, 0);
    ASSERT_TRUE(minimal.Valid());
    EXPECT_EQ(minimal.DebugInfoFileName(), copy.Path());
    EXPECT_EQ(minimal.MinDebugInfo(), DebugInfoIdentification(side->Header));

    const TMapFile full(ReadMapFileStream(side->PlainStream, false),
                        LoadModuleMapFile(Executable, 0, 0).Addresses());
    const auto marker = full.FindPublic("minimal_debug_info_test", FullMarkerName);
    ASSERT_TRUE(marker);
    const auto symbol = minimal.FindPublic(marker->Address + 2);
    ASSERT_TRUE(symbol);
    EXPECT_EQ(symbol->Address, marker->Address);
    EXPECT_TRUE(symbol->Name.starts_with("public%")) << symbol->Name;
    EXPECT_TRUE(minimal.FindSegment(marker->Address)->UnitName.starts_with("segment%"));
    EXPECT_EQ(minimal.FindLine(marker->Address + 2).Line, full.FindLine(marker->Address + 2).Line);
}

TEST(MinimalDebugInfo, AFileBesideWithAnotherIdentificationIsNotTaken) {
    const auto side = ReadDebugInfoContainer(SideFileBytes());
    ASSERT_TRUE(side);
    MapFileContent other = ReadMapFileStream(side->PlainStream, false);
    other.Publics.pop_back();
    const test::ModuleCopy copy(Executable);
    copy.WriteSideFile(WriteDebugInfoContainer(WriteMapFileStream(other, false), 3, false));
    const TMapFile map = LoadModuleMapFile(copy.Path(), 0, 0);
    ASSERT_TRUE(map.Valid());
    EXPECT_EQ(map.DebugInfoFileName(), copy.Path());
    EXPECT_EQ(map.MinDebugInfo(), DebugInfoIdentification(side->Header));

    copy.WriteSideFile(SideFileBytes());
    const TMapFile matching = LoadModuleMapFile(copy.Path(), 0, 0);
    EXPECT_EQ(matching.DebugInfoFileName(), copy.SideFilePath());
    EXPECT_EQ(matching.MinDebugInfo(), "");
}

}  // namespace
}  // namespace kestrix
