// \brief The process list: priority classes, columns, and this process among the running ones.
#include "crash/report/process_list.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

namespace kestrix {
namespace {

TEST(PriorityClassName, MapsPolicyAndNiceValue) {
    struct Case {
        int policy;
        int nice;
        const char* expected;
    };
    for (const Case& c : {Case{SCHED_OTHER, 0, "normal"}, Case{SCHED_OTHER, 1, "below normal"},
                          Case{SCHED_OTHER, 14, "below normal"}, Case{SCHED_OTHER, 15, "idle"},
                          Case{SCHED_BATCH, 19, "idle"}, Case{SCHED_OTHER, -1, "above normal"},
                          Case{SCHED_OTHER, -9, "above normal"}, Case{SCHED_OTHER, -10, "high"},
                          Case{SCHED_OTHER, -20, "high"}, Case{SCHED_IDLE, 0, "idle"},
                          Case{SCHED_FIFO, 0, "realtime"}, Case{SCHED_RR, 5, "realtime"}}) {
        SCOPED_TRACE(std::to_string(c.policy) + "/" + std::to_string(c.nice));
        EXPECT_EQ(PriorityClassName(c.policy, c.nice), c.expected);
    }
}

TEST(FormatProcessList, AlignsTheColumnsAndShowsSessionsOnlyWhenAnyHasOne) {
    const std::vector<TProcessListEntry> withSession{
        {0x1, "systemd", std::nullopt, "normal", "/usr/lib/systemd"},
        {0x1a2b, "gatool", 3, "below normal", "/opt/gatool"},
        {0x2f, "sh", 12, "high", ""}};
    EXPECT_EQ(FormatProcessList(withSession),
              "0001 systemd    normal       /usr/lib/systemd\r\n"
              "1a2b gatool  3  below normal /opt/gatool\r\n"
              "002f sh      12 high         ");
    EXPECT_EQ(FormatProcessList({{0x1, "init", std::nullopt, "normal", "/sbin"},
                                 {0x10, "bash", std::nullopt, "idle", "/bin"}}),
              "01 init normal /sbin\r\n"
              "10 bash idle   /bin");
}

TEST(RunningProcesses, ListsThisProcessWithItsExecutableAndPriority) {
    const auto processes = RunningProcesses();
    const auto self = std::find_if(processes.begin(), processes.end(), [](const auto& process) {
        return process.ProcessId == static_cast<std::uint32_t>(getpid());
    });
    ASSERT_NE(self, processes.end());
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(self->Name, executable.filename().string());
    EXPECT_EQ(self->Folder, executable.parent_path().string());
    EXPECT_EQ(self->PriorityClass,
              PriorityClassName(sched_getscheduler(0), getpriority(PRIO_PROCESS, 0)));
    for (std::size_t i = 1; i < processes.size(); ++i)
        EXPECT_LT(processes[i - 1].ProcessId, processes[i].ProcessId);
    // Kernel threads are no programs: kthreadd (2) is not listed.
    EXPECT_TRUE(std::none_of(processes.begin(), processes.end(),
                             [](const auto& process) { return process.Name == "kthreadd"; }));
}

}  // namespace
}  // namespace kestrix
