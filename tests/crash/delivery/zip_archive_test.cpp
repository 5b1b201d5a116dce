// Zip archives checked by unzip and by Python's zipfile.
#include "crash/delivery/attachments/zip_archive.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/crash/delivery/child_program.h"
#include "tests/crash/delivery/scratch_folder.h"

namespace kestrix {
namespace {

constexpr const char* CheckWithZipfile = R"py(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as archive:
    bad = archive.testzip()
    if bad is not None:
        sys.exit("damaged: " + bad)
    for info, source in zip(archive.infolist(), sys.argv[2:]):
        name, path = source.split("=", 1)
        if info.filename != name or info.compress_type != zipfile.ZIP_DEFLATED:
            sys.exit("entry %s (%d)" % (info.filename, info.compress_type))
        if archive.read(info) != open(path, "rb").read():
            sys.exit("content of " + name)
    print(len(archive.infolist()))
)py";

TEST(ZipArchive, PassesUnzipAndZipfileWithEveryEntryIntact) {
    ScratchFolder scratch("kestrix-zip");
    std::string text;
    for (int line = 0; line < 2000; ++line) {
        text += "call stack line " + std::to_string(line % 17) + "\r\n";
    }
    std::string binary;
    std::mt19937 random(5);
    for (int i = 0; i < 70000; ++i) {
        binary.push_back(static_cast<char>(random()));
    }
    WriteFileText(scratch.Path() / "report", text);
    WriteFileText(scratch.Path() / "picture", binary);
    WriteFileText(scratch.Path() / "empty", "");
    const auto archive = scratch.Path() / "attachments.zip";
    WriteZipArchive(archive, {{scratch.Path() / "report", "bugreport.txt"},
                              {scratch.Path() / "picture", "screenshot.png"},
                              {scratch.Path() / "empty", "empty.txt"}});
    EXPECT_LT(std::filesystem::file_size(archive), text.size() / 10 + binary.size() + 1000);

    const auto unzip = test::RunChild({"unzip", "-t", archive.string()});
    EXPECT_EQ(unzip.ExitCode, 0) << unzip.Output;
    EXPECT_NE(unzip.Output.find("No errors detected"), std::string::npos) << unzip.Output;

    const auto python =
        test::RunChild({"/usr/bin/python3", "-c", CheckWithZipfile, archive.string(),
                        "bugreport.txt=" + (scratch.Path() / "report").string(),
                        "screenshot.png=" + (scratch.Path() / "picture").string(),
                        "empty.txt=" + (scratch.Path() / "empty").string()});
    EXPECT_EQ(python.ExitCode, 0) << python.Output;
    EXPECT_EQ(python.Output, "3\n");
}

TEST(ZipArchive, MissingFileIsNamedInTheError) {
    ScratchFolder scratch("kestrix-zip-missing");
    try {
        WriteZipArchive(scratch.Path() / "a.zip", {{scratch.Path() / "gone", "gone.txt"}});
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("gone"), std::string::npos);
    }
}

}  // namespace
}  // namespace kestrix
