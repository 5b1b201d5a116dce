// \brief Resource facts against the system's other ways of telling them.
#include "crash/report/resource_facts.h"

#include <gtest/gtest.h>

#include <sys/sysinfo.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <vector>

namespace kestrix {
namespace {

TEST(ResourceFacts, TheUpTimeIsTheTimeSinceBoot) {
    timespec boot{};
    ASSERT_EQ(clock_gettime(CLOCK_BOOTTIME, &boot), 0);
    const auto seconds = SystemUpTimeSeconds();
    ASSERT_TRUE(seconds.has_value());
    EXPECT_LE(*seconds, static_cast<std::uint64_t>(boot.tv_sec) + 1);
    EXPECT_GE(*seconds + 2, static_cast<std::uint64_t>(boot.tv_sec));
}

TEST(ResourceFacts, ProcessorsAreCountedWithTheFirstModelName) {
    const TProcessors parsed = ParseCpuInfo(
        "processor\t: 0\nmodel name\t: AMD EPYC 7763\nflags\t: fpu\n\n"
        "processor\t: 1\nmodel name\t: Other\n");
    EXPECT_EQ(parsed.Count, 2);
    EXPECT_EQ(parsed.Name, "AMD EPYC 7763");
    const auto processors = Processors();
    ASSERT_TRUE(processors.has_value());
    EXPECT_EQ(processors->Count, sysconf(_SC_NPROCESSORS_CONF));
}

TEST(ResourceFacts, PhysicalMemoryIsAvailableOfTotal) {
    EXPECT_EQ(KilobyteValue("MemTotal:  16 kB\nMemFree:   8 kB\n", "MemFree"), 8 * 1024u);
    EXPECT_EQ(KilobyteValue("XMemFree:  8 kB\n", "MemFree"), std::nullopt);
    struct sysinfo system {};
    ASSERT_EQ(sysinfo(&system), 0);
    const auto memory = PhysicalMemory();
    ASSERT_TRUE(memory.has_value());
    EXPECT_EQ(memory->TotalBytes / 1024, std::uint64_t(system.totalram) * system.mem_unit / 1024);
    EXPECT_LE(memory->FreeBytes, memory->TotalBytes);
}

TEST(ResourceFacts, DiskSpaceIsWhatUsersMayWriteOnThePathsFileSystem) {
    const auto root = DiskSpaceOf("/");
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(root->MountPoint, "/");
    const auto available = std::filesystem::space("/").available;
    EXPECT_NEAR(static_cast<double>(root->FreeBytes), static_cast<double>(available), 64e6);
    const auto proc = DiskSpaceOf("/proc/self");
    ASSERT_TRUE(proc.has_value());
    EXPECT_EQ(proc->MountPoint, "/proc");
    EXPECT_EQ(DiskSpaceOf("/no/such/folder"), std::nullopt);
}

TEST(ResourceFacts, AllocatedMemoryGrowsWithTouchedAllocations) {
    const auto before = AllocatedMemory();
    ASSERT_TRUE(before.has_value());
    std::vector<char> block(64 << 20, 1);
    const auto after = AllocatedMemory();
    ASSERT_TRUE(after.has_value());
    EXPECT_GE(*after, *before + (60 << 20));
    EXPECT_EQ(block[12345], 1);
}

}  // namespace
}  // namespace kestrix
