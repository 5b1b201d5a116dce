// \brief The writer of the debug-information container as the build step runs it: what it writes
// for a full and a minimal build, and its refusals of bad command lines and files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "crash/debuginfo/debug_info_container.h"
#include "crash/debuginfo/map_file_stream.h"
#include "module_copy.h"
#include "run_program.h"

namespace kestrix {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(DebugInfoWriter, WritesTheFullContainerOfAnExecutable) {
    const test::ModuleCopy copy(KESTRIX_DEBUGINFO_TEST_EXECUTABLE);
    const std::string container = copy.Path() + ".debuginfo";
    const auto result =
        test::RunProgram({KESTRIX_DEBUGINFO_WRITER, "--container", container, copy.Path()});
    ASSERT_EQ(result.ExitCode, 0) << result.Errors;
    const auto read = ReadDebugInfoContainer(ReadFile(container));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Header.Version, 3U);
    EXPECT_FALSE(read->Header.Minimal());
    const MapFileContent content = ReadMapFileStream(read->PlainStream, false);
    EXPECT_FALSE(content.Segments.empty());
    EXPECT_FALSE(content.Publics.empty());
    EXPECT_FALSE(content.Lines.empty());
    EXPECT_TRUE(content.EntryPoint);
}

TEST(DebugInfoWriter, WritesMinimalAndFullContainersWithTheIdentification) {
    const test::ModuleCopy copy(KESTRIX_DEBUGINFO_TEST_EXECUTABLE);
    const std::string container = copy.Path() + ".debuginfo";
    const std::string identification = copy.Path() + ".id";
    const auto result =
        test::RunProgram({KESTRIX_DEBUGINFO_WRITER, "--container", container, "--kes",
                          copy.SideFilePath(), "--identification", identification, copy.Path()});
    ASSERT_EQ(result.ExitCode, 0) << result.Errors;
    const auto minimal = ReadDebugInfoContainer(ReadFile(container));
    const auto full = ReadDebugInfoContainer(ReadFile(copy.SideFilePath()));
    ASSERT_TRUE(minimal);
    ASSERT_TRUE(full);
    EXPECT_TRUE(minimal->Header.Minimal());
    EXPECT_FALSE(full->Header.Minimal());
    EXPECT_EQ(ReadFile(identification), DebugInfoIdentification(full->Header));
    const MapFileContent addresses = ReadMapFileStream(minimal->PlainStream, true);
    const MapFileContent named = ReadMapFileStream(full->PlainStream, false);
    ASSERT_EQ(addresses.Publics.size(), named.Publics.size());
    EXPECT_EQ(addresses.Publics.back().Address, named.Publics.back().Address);
}

TEST(DebugInfoWriter, RefusesBadCommandLinesAndFilesWithAMessage) {
    const test::ModuleCopy notElf(KESTRIX_DEBUGINFO_TEST_EXECUTABLE);
    notElf.WriteBytes("plain text\n");
    const std::string out = notElf.Path() + ".debuginfo";
    struct Case {
        const char* What;
        std::vector<std::string> Arguments;
        int ExitCode;
        const char* Message;
    };
    const Case cases[] = {
        {"no input", {"--container", out}, 2, "usage: kestrix_debuginfo_writer"},
        {"--kes without --identification",
         {"--container", out, "--kes", "x", notElf.Path()},
         2,
         "usage: kestrix_debuginfo_writer"},
        {"missing input",
         {"--container", out, notElf.Path() + ".missing"},
         1,
         "No such file or directory"},
        {"not an ELF file",
         {"--container", out, notElf.Path()},
         1,
         "is not a 64-bit little-endian ELF file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<std::string> command{KESTRIX_DEBUGINFO_WRITER};
        command.insert(command.end(), c.Arguments.begin(), c.Arguments.end());
        const auto result = test::RunProgram(command);
        EXPECT_EQ(result.ExitCode, c.ExitCode);
        EXPECT_NE(result.Errors.find(c.Message), std::string::npos) << result.Errors;
    }
    std::ifstream written(out);
    EXPECT_FALSE(written.good()) << "a refused run left a container behind";
}

}  // namespace
}  // namespace kestrix
