// The same failure at another load address gives the same call-stack checksums: the probe program
// (position independent, so loaded elsewhere in every run) reports it twice.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <string_view>

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

// "$" and eight lower-case hexadecimal digits, three times, separated by ", ".
bool IsChecksumsText(std::string_view text) {
    constexpr std::size_t One = 9;
    if (text.size() != 3 * One + 2 * 2)
        return false;
    for (std::size_t at = 0; at < text.size(); at += One + 2) {
        const std::string_view checksum = text.substr(at, One);
        if (checksum[0] != '$' ||
            checksum.find_first_not_of("0123456789abcdef", 1) != std::string_view::npos ||
            (at + One < text.size() && text.substr(at + One, 2) != ", "))
            return false;
    }
    return true;
}

// The text after the prefix up to the end of its line.
std::string LineAfter(const std::string& output, std::string_view prefix) {
    const std::size_t start = output.find(prefix);
    if (start == std::string::npos)
        return {};
    const std::size_t from = start + prefix.size();
    return output.substr(from, output.find('\n', from) - from);
}

ProbeRun RunProbe() {
    const std::string output = ProbeOutput();
    const ProbeRun run{LineAfter(output, "code at "), LineAfter(output, "callstack crc ")};
    EXPECT_FALSE(run.CodeAddress.empty()) << output;
    EXPECT_TRUE(IsChecksumsText(run.Checksums)) << output;
    return run;
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
