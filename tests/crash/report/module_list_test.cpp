// \brief The module list: its columns, the versions from library names, and this process's own
// modules.
#include "crash/report/module_list.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "crash/report/module_version.h"

namespace kestrix {
namespace {

TEST(FormatModuleList, PadsNameAndVersionToTheLongestPlusOne) {
    EXPECT_EQ(FormatModuleList({{0x555555554000, "gatool", "1.2.0.0", "/opt/gatool"},
                                {0x7f0000001000, "libQt6Core.so.6", "6.4.2", "/usr/lib"},
                                {0x7fff00000000, "linux-vdso.so.1", "", ""}}),
              "0000555555554000 gatool          1.2.0.0 /opt/gatool\r\n"
              "00007f0000001000 libQt6Core.so.6 6.4.2   /usr/lib\r\n"
              "00007fff00000000 linux-vdso.so.1         ");
    EXPECT_EQ(FormatModuleList({}), "");
}

TEST(SharedObjectVersion, TakesTheNumberAfterTheLastSo) {
    struct Case {
        std::string_view fileName;
        std::string expected;
    };
    for (const Case& c :
         {Case{"libQt6Core.so.6.4.2", "6.4.2"}, Case{"libc.so.6", "6"}, Case{"libfoo.so", ""},
          Case{"gatool", ""}, Case{"libbar.so.1.x", ""}, Case{"libz.so.1.2.13", "1.2.13"}}) {
        SCOPED_TRACE(c.fileName);
        EXPECT_EQ(SharedObjectVersion(c.fileName), c.expected);
    }
}

TEST(ExecutableFileVersion, HasFourNumbers) {
    for (const auto& [given, expected] : std::initializer_list<std::pair<const char*, const char*>>{
             {"3.1.4.1", "3.1.4.1"}, {"0.1.0", "0.1.0.0"}, {"2", "2.0.0.0"}, {"", ""}}) {
        SCOPED_TRACE(given);
        SetExecutableFileVersion(given);
        EXPECT_EQ(ExecutableFileVersion(), expected);
    }
    SetExecutableFileVersion("");
}

TEST(LoadedModuleEntries, ListsThisProgramFirstByAddressAndItsLibraries) {
    SetExecutableFileVersion("3.1.4.1");
    const auto modules = LoadedModuleEntries();
    SetExecutableFileVersion("");
    ASSERT_GE(modules.size(), 2u);
    for (std::size_t i = 1; i < modules.size(); ++i)
        EXPECT_LT(modules[i - 1].Base, modules[i].Base);
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    const auto own = std::find_if(modules.begin(), modules.end(),
                                  [&](const auto& m) { return m.FileName == self.filename(); });
    ASSERT_NE(own, modules.end());
    EXPECT_EQ(own->Folder, self.parent_path().string());
    EXPECT_EQ(own->Version, "3.1.4.1");
    const auto libc = std::find_if(modules.begin(), modules.end(),
                                   [](const auto& m) { return m.FileName == "libc.so.6"; });
    ASSERT_NE(libc, modules.end());
    EXPECT_EQ(libc->Version, "6");
    EXPECT_FALSE(libc->Folder.ends_with("/"));
}

}  // namespace
}  // namespace kestrix
