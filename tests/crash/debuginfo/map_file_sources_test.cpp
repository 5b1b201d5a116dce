// \brief Where a module's information comes from: the embedded section, the symbol table when the
// section is damaged or foreign, a ".kes" file beside a module without either; and the cache of
// this process's modules.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include "crash/debuginfo/debug_info_container.h"
#include "crash/debuginfo/map_file_cache.h"
#include "crash/debuginfo/map_file_loader.h"
#include "crash/settings/module_info.h"
#include "module_copy.h"

namespace kestrix {
namespace {

const int MarkerFirstLine = __LINE__ + 2;
[[gnu::noinline]] int MarkerProcedure(int value) {
    volatile int result = value * 3;
    return result + 1;
}
const int MarkerLastLine = __LINE__ - 1;

std::uintptr_t MarkerAddress() {
    return reinterpret_cast<std::uintptr_t>(&MarkerProcedure);
}

// The place of the embedded container in the file: the last copy of the signature, because the
// reader's own code holds the signature text too.
std::size_t EmbeddedContainerOffset(const std::string& bytes) {
    return bytes.rfind(DebugInfoSignature);
}

TEST(FindMapFile, ResolvesThisProgramsOwnCode) {
    const auto map = FindMapFile(MarkerAddress());
    ASSERT_TRUE(map->Valid());
    EXPECT_EQ(map->DebugInfoFileName(), KESTRIX_DEBUGINFO_TEST_EXECUTABLE);
    const MapFileInfos infos = GetMapFileInfos(MarkerAddress() + 4);
    EXPECT_TRUE(infos.Found);
    EXPECT_EQ(infos.ModuleFileName, "kestrix_debuginfo_tests");
    EXPECT_EQ(infos.UnitName, "map_file_sources_test");
    EXPECT_EQ(infos.ProcedureName, "kestrix::(anonymous namespace)::MarkerProcedure(int)");
    EXPECT_EQ(infos.ProcedureStart, MarkerAddress());
    EXPECT_GE(infos.Line, MarkerFirstLine - 1);
    EXPECT_LE(infos.Line, MarkerLastLine);
    EXPECT_EQ(FindMapFile(MarkerAddress()), map) << "loaded again instead of cached";
    EXPECT_EQ(map->Module(), map->Addresses().Module);
    EXPECT_LE(map->BaseOfCode(), MarkerAddress());
}

TEST(FindMapFile, AnAddressOutsideEveryModuleHasNoInformation) {
    EXPECT_FALSE(FindMapFile(0x10)->Valid());
    EXPECT_FALSE(GetMapFileInfos(0x10).Found);
}

// A library of the C runtime that this program does not load itself.
constexpr const char* LaterLibrary = "libanl.so.1";

TEST(FindMapFile, AModuleLoadedLaterIsLookedUpAndOneUnloadedIsForgotten) {
    const auto own = FindMapFile(MarkerAddress());
    ASSERT_TRUE(own->Valid());
    void* library = dlopen(LaterLibrary, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    link_map* loaded = nullptr;
    ASSERT_EQ(dlinfo(library, RTLD_DI_LINKMAP, &loaded), 0) << dlerror();
    // Its dynamic section lies in one of its loaded segments.
    const auto inLibrary = reinterpret_cast<std::uintptr_t>(loaded->l_ld);
    const TMapFile expected = LoadModuleMapFile(
        loaded->l_name, loaded->l_addr, ModuleOfAddress(reinterpret_cast<const void*>(inLibrary)));
    const auto found = FindMapFile(inLibrary);
    EXPECT_NE(found, own);
    EXPECT_EQ(found->Valid(), expected.Valid());
    EXPECT_EQ(found->DebugInfoFileName(), expected.DebugInfoFileName());
    EXPECT_EQ(found->Module(), expected.Module());
    ASSERT_EQ(dlclose(library), 0) << dlerror();
    EXPECT_FALSE(FindMapFile(inLibrary)->Valid());
}

TEST(LoadModuleMapFile, PassesOverADamagedOrForeignSectionToTheSymbolTable) {
    const test::ModuleCopy original(KESTRIX_DEBUGINFO_TEST_EXECUTABLE);
    const std::string bytes = original.ReadBytes();
    const std::size_t container = EmbeddedContainerOffset(bytes);
    ASSERT_NE(container, std::string::npos);
    struct Case {
        const char* What;
        std::size_t Offset;
    };
    const Case cases[] = {{"foreign signature", container}, {"damaged body", container + 60}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const test::ModuleCopy copy(KESTRIX_DEBUGINFO_TEST_EXECUTABLE);
        std::string damaged = bytes;
        damaged[c.Offset] = char(damaged[c.Offset] ^ 0x5A);
        copy.WriteBytes(damaged);
        const TMapFile map = LoadModuleMapFile(copy.Path(), 0, 0);
        ASSERT_TRUE(map.Valid());
        const TMapFile embedded = LoadModuleMapFile(original.Path(), 0, 0);
        const std::uintptr_t marker = embedded
                                          .FindPublic("map_file_sources_test",
                                                      "kestrix::(anonymous namespace)::"
                                                      "MarkerProcedure(int)")
                                          ->Address;
        EXPECT_EQ(map.FindPublic(marker + 4)->Name, embedded.FindPublic(marker + 4)->Name);
        // The symbol table knows no units: one segment named after the module. The lines come
        // from the file's DWARF line programs.
        EXPECT_EQ(map.FindSegment(marker)->UnitName, "kestrix_debuginfo_tests");
        EXPECT_GT(map.FindLine(marker + 4).Line, 0);
        EXPECT_EQ(map.FindLine(marker + 4).Line, embedded.FindLine(marker + 4).Line);
    }
}

TEST(LoadModuleMapFile, TakesTheSideFileOfAModuleWithoutSectionAndSymbols) {
    const test::ModuleCopy original(KESTRIX_DEBUGINFO_TEST_EXECUTABLE);
    const TMapFile embedded = LoadModuleMapFile(original.Path(), 0, 0);
    const test::ModuleCopy stripped(KESTRIX_DEBUGINFO_TEST_EXECUTABLE);
    stripped.RunObjcopy({"--strip-all", "--remove-section", ".kestrix_debuginfo"});
    EXPECT_FALSE(LoadModuleMapFile(stripped.Path(), 0, 0).Valid());

    stripped.WriteSideFile(embedded.Export(2, false));
    const TMapFile side = LoadModuleMapFile(stripped.Path(), 0, 0);
    ASSERT_TRUE(side.Valid());
    EXPECT_EQ(side.DebugInfoFileName(), stripped.SideFilePath());
    ASSERT_EQ(side.Content().Publics.size(), embedded.Content().Publics.size());
    for (const MapPublic& symbol : embedded.Content().Publics) {
        const std::uintptr_t address = embedded.BaseOfCode() + symbol.Address;
        ASSERT_EQ(side.FindPublic(address)->Name, embedded.FindPublic(address)->Name);
        ASSERT_EQ(side.FindLine(address).Line, embedded.FindLine(address).Line);
        ASSERT_EQ(side.FindSegment(address).has_value(), embedded.FindSegment(address).has_value());
    }
}

TEST(LoadModuleMapFile, AFileThatIsNoElfGivesNoInformation) {
    const test::ModuleCopy copy(KESTRIX_DEBUGINFO_TEST_EXECUTABLE);
    copy.WriteBytes("#!/bin/sh\necho not an executable\n");
    EXPECT_FALSE(LoadModuleMapFile(copy.Path(), 0, 0).Valid());
    EXPECT_FALSE(LoadModuleMapFile(copy.Path() + ".missing", 0, 0).Valid());
}

}  // namespace
}  // namespace kestrix
