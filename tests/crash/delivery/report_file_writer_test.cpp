// Saving into the report file for real: folders, links, two processes at once, a read-only folder.
#include "crash/delivery/file/report_file_writer.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include "crash/delivery/file/report_file_fields.h"
#include "crash/delivery/file/report_file_saving.h"
#include "tests/crash/delivery/report_texts.h"
#include "tests/crash/delivery/scratch_folder.h"

namespace kestrix {
namespace {

ReportFileRules Unlimited() {
    ReportFileRules rules;
    rules.BugRepFileSize = 0;
    return rules;
}

TEST(ReportFileWriter, CreatesMissingFoldersPrivateToTheUser) {
    ScratchFolder scratch("kestrix-writer");
    const auto file = scratch.Path() / "a" / "b" / "bugreport.txt";
    ASSERT_EQ(WriteReportFile(file, ReportText{}.Text(), {}), 0);
    EXPECT_EQ(ReadFileText(file), ReportText{}.Text() + "\r\n\r\n");
    EXPECT_EQ(std::filesystem::status(scratch.Path() / "a").permissions(),
              std::filesystem::perms::owner_all);
}

TEST(ReportFileWriter, RefusesASymbolicLinkAndLeavesItsTargetAlone) {
    ScratchFolder scratch("kestrix-writer-link");
    const auto target = scratch.Path() / "target.txt";
    WriteFileText(target, "precious");
    std::filesystem::create_symlink(target, scratch.Path() / "bugreport.txt");
    EXPECT_EQ(WriteReportFile(scratch.Path() / "bugreport.txt", ReportText{}.Text(), {}), ELOOP);
    EXPECT_EQ(ReadFileText(target), "precious");
}

TEST(ReportFileWriter, RefusesWhatIsNoRegularFile) {
    ScratchFolder scratch("kestrix-writer-fifo");
    const auto pipe = scratch.Path() / "bugreport.txt";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(WriteReportFile(pipe, ReportText{}.Text(), {}), EINVAL);
}

TEST(ReportFileWriter, ReplacingTheFileKeepsItsMode) {
    ScratchFolder scratch("kestrix-writer-mode");
    const auto file = scratch.Path() / "bugreport.txt";
    ASSERT_EQ(WriteReportFile(file, ReportText{}.Text(), {}), 0);
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    ASSERT_EQ(WriteReportFile(file, ReportText{}.Text(), {}), 0);
    EXPECT_EQ(ReportFieldValue(ReadFileText(file), "count"), "2");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Path()), {}), 1);
}

// Children that each save their reports as fast as they can into one file.
void SaveFromProcesses(const std::filesystem::path& file,
                       int processes,
                       int saves,
                       bool sameFailure) {
    std::vector<pid_t> children;
    for (int child = 0; child < processes; ++child) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int save = 0; save < saves; ++save) {
                ReportText text;
                if (!sameFailure) {
                    char checksum[32];
                    std::snprintf(checksum, sizeof checksum, "$%08X, $22222222, $33333333",
                                  child * saves + save);
                    text.Checksums = checksum;
                }
                failures += WriteReportFile(file, text.Text(), Unlimited()) != 0;
            }
            _exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

TEST(ReportFileWriter, ProcessesSavingAtOnceLoseNoReport) {
    constexpr int Processes = 4;
    constexpr int Saves = 50;
    ScratchFolder scratch("kestrix-writer-race");
    for (const bool sameFailure : {false, true}) {
        SCOPED_TRACE(sameFailure ? "the same failure, counted" : "different failures");
        const auto file = scratch.Path() / (sameFailure ? "same.txt" : "different.txt");
        SaveFromProcesses(file, Processes, Saves, sameFailure);
        const std::string content = ReadFileText(file);
        if (sameFailure) {
            EXPECT_EQ(content, WithCountLine(ReportText{}.Text(), Processes * Saves) + "\r\n\r\n");
        } else {
            const auto spans = ReportSpans(content);
            EXPECT_EQ(spans.size(), std::size_t{Processes * Saves});
            for (int number = 0; number < Processes * Saves; ++number) {
                char checksum[16];
                std::snprintf(checksum, sizeof checksum, ": $%08X,", number);
                EXPECT_NE(content.find(checksum), std::string::npos) << checksum;
            }
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Path()), {}), 2);
}

// Runs the check in a child with a mount namespace of its own, where the folder is mounted
// read-only (which binds root too); false when the system does not allow that.
bool InReadOnlyFolder(const std::filesystem::path& folder,
                      const std::function<bool()>& check,
                      bool& allowed) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return false;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        char state = 'n';
        if (unshare(CLONE_NEWNS) == 0 || unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) {
            if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
                mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                      nullptr) == 0) {
                state = 'y';
            }
        }
        (void)!write(pipeEnds[1], &state, 1);
        _exit(state == 'y' && check() ? 0 : 1);
    }
    close(pipeEnds[1]);
    char state = 'n';
    (void)!read(pipeEnds[0], &state, 1);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    allowed = state == 'y';
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ReportFileSaving, ReadOnlyProgramFolderFallsBackToTheStateFolder) {
    ScratchFolder scratch("kestrix-saving-readonly");
    const auto program = scratch.Path() / "program";
    const auto state = scratch.Path() / "state" / "gatool";
    std::filesystem::create_directories(program);
    const auto location = ReportFileLocationFor("reports/bugreport.txt", program, state);
    bool allowed = false;
    const bool saved = InReadOnlyFolder(
        program,
        [&] {
            const auto file = SaveReportFile(ReportText{}.Text(), location, Unlimited());
            return file == state / "reports" / "bugreport.txt";
        },
        allowed);
    if (!allowed) {
        GTEST_SKIP() << "no mount namespace for a read-only folder here";
    }
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadFileText(state / "reports" / "bugreport.txt"), ReportText{}.Text() + "\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(program / "reports"));
}

TEST(ReportFileSaving, WritableProgramFolderIsUsedAndAbsoluteNamesStay) {
    ScratchFolder scratch("kestrix-saving");
    const auto location = ReportFileLocationFor("bugreport.txt", scratch.Path(), "/nonexistent");
    EXPECT_EQ(SaveReportFile("r", location, {}), scratch.Path() / "bugreport.txt");
    const auto absolute = ReportFileLocationFor((scratch.Path() / "x.txt").string(), "/a", "/b");
    EXPECT_EQ(absolute.File, scratch.Path() / "x.txt");
    EXPECT_EQ(absolute.Fallback, std::nullopt);
    EXPECT_EQ(SaveReportFile("r", ReportFileLocation{"/proc/forbidden/bugreport.txt", {}}, {}),
              std::nullopt);
}

}  // namespace
}  // namespace kestrix
