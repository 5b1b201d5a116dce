// Tests of the byte stream: files read in binary, line counting, open failures.
#include "data/input_stream.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/exceptions.h"

namespace gatool {
namespace {

std::string ReadAll(InputStream& in) {
    std::string bytes;
    for (int c = in.Get(); c != InputStream::EndOfFile; c = in.Get()) {
        bytes += static_cast<char>(c);
    }
    return bytes;
}

TEST(InputStream, ReadsAFileLargerThanOneChunkByteForByte) {
    std::string content;
    for (int i = 0; i < 200000; ++i) {
        content += static_cast<char>(i % 256);
    }
    const auto path = std::filesystem::temp_directory_path() / "gatool_input_stream_test.bin";
    std::ofstream(path, std::ios::binary) << content;
    InputStream in = InputStream::FromFile(path);
    EXPECT_EQ(ReadAll(in), content);
    EXPECT_EQ(in.Peek(), InputStream::EndOfFile);
    std::filesystem::remove(path);
}

TEST(InputStream, CountsCrLfCrAndLfAsOneLineEndEach) {
    InputStream in = InputStream::FromMemory("a\r\nb\rc\nd\n\re");
    const long expected[] = {1, 1, 2, 2, 2, 3, 3, 4, 4, 5, 6};
    for (const long line : expected) {
        EXPECT_EQ(in.Line(), line);
        in.Get();
    }
    EXPECT_EQ(in.Peek(), InputStream::EndOfFile);
}

TEST(InputStream, NamesTheFileItCannotOpen) {
    try {
        InputStream::FromFile("/nonexistent/GA0001.TXT");
        FAIL() << "no error";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(),
                     "Cannot open \"/nonexistent/GA0001.TXT\": No such file or directory");
    }
}

TEST(InputStream, RefusesWhatIsNotARegularFileWithoutWaitingForIt) {
    const auto fifo = std::filesystem::temp_directory_path() / "gatool_input_stream_fifo";
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // no writer: an ordinary open would wait for one
    struct Case {
        std::filesystem::path path;
        const char* kind;
    } const cases[] = {
        {fifo, "a FIFO (named pipe)"},
        {"/dev/zero", "a character device"},
        {std::filesystem::temp_directory_path(), "a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            InputStream::FromFile(c.path);
            ADD_FAILURE() << "not refused";
        } catch (const Exception& error) {
            EXPECT_EQ(error.what(), "Cannot open \"" + c.path.string() + "\": it is " + c.kind +
                                        ", not a regular file");
        }
    }
    std::filesystem::remove(fifo);
}

}  // namespace
}  // namespace gatool
