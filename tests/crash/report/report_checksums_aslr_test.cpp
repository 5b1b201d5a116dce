// The same failure at another load address gives the same call-stack checksums: the probe program
// (position independent, so loaded elsewhere in every run) reports it twice.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <string>

extern char** environ;

namespace {

std::string ProbeOutput() {
    int output[2];
    if (pipe(output) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    char* arguments[] = {const_cast<char*>(KESTRIX_REPORT_CHECKSUM_PROBE), nullptr};
    pid_t probe = 0;
    const int spawned = posix_spawn(&probe, arguments[0], &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t count; (count = read(output[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(count));
    close(output[0]);
    int status = 0;
    if (spawned == 0)
        waitpid(probe, &status, 0);
    EXPECT_EQ(spawned, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
    return text;
}

struct ProbeRun {
    std::string CodeAddress;
    std::string Checksums;
};

ProbeRun RunProbe() {
    const std::string output = ProbeOutput();
    const std::regex pattern(
        R"(code at (0x[0-9a-f]+)\ncallstack crc (\$[0-9a-f]{8}, \$[0-9a-f]{8}, \$[0-9a-f]{8})\n)");
    std::smatch match;
    EXPECT_TRUE(std::regex_match(output, match, pattern)) << output;
    return match.empty() ? ProbeRun{} : ProbeRun{match[1], match[2]};
}

TEST(ReportChecksumsTest, SameFailureAtAnotherLoadAddressGivesTheSameChecksums) {
    const ProbeRun first = RunProbe();
    const ProbeRun second = RunProbe();
    ASSERT_FALSE(first.Checksums.empty());
    if (first.CodeAddress == second.CodeAddress)
        GTEST_SKIP() << "address space layout randomisation is off: both runs loaded at "
                     << first.CodeAddress;
    EXPECT_EQ(first.Checksums, second.Checksums);
}

}  // namespace
