// \brief The plain stream of a module's information: round trips with and without names, the
// escape for large differences, the optional entry point, damage.
#include "crash/debuginfo/map_file_stream.h"

#include <gtest/gtest.h>

#include "crash/debuginfo/packed_stream.h"

namespace kestrix {
namespace {

MapFileContent SampleContent() {
    MapFileContent content;
    content.Segments.push_back({0x0, 0x300, content.AddName("main_form"), true});
    content.Segments.push_back({0x300, 0x10000, content.AddName("peak_location"), true});
    content.Segments.push_back({0x20000, 0x40, content.AddName("crt"), false});
    content.Publics.push_back({0x10, content.AddName("TMainForm::LoadGAClick()")});
    content.Publics.push_back({0x90, content.AddName("gatool::LocatePeak(int)")});
    // A difference far beyond a signed byte.
    content.Publics.push_back({0x20000, content.AddName("_start")});
    content.Lines.push_back({0x10, 120});
    content.Lines.push_back({0x18, 121});
    content.Lines.push_back({0x40, 2});       // back by more than 127 lines
    content.Lines.push_back({0x9000, 5000});  // forward by a large step in both
    content.EntryPoint = 0x20000;
    return content;
}

void ExpectSameTables(const MapFileContent& read, const MapFileContent& written, bool names) {
    ASSERT_EQ(read.Segments.size(), written.Segments.size());
    for (std::size_t i = 0; i < read.Segments.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read.Segments[i].Start, written.Segments[i].Start);
        EXPECT_EQ(read.Segments[i].Length, written.Segments[i].Length);
        EXPECT_EQ(read.Segments[i].HasLines, written.Segments[i].HasLines);
        if (names) {
            EXPECT_EQ(read.Name(read.Segments[i].Unit), written.Name(written.Segments[i].Unit));
        }
    }
    ASSERT_EQ(read.Publics.size(), written.Publics.size());
    for (std::size_t i = 0; i < read.Publics.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read.Publics[i].Address, written.Publics[i].Address);
        if (names) {
            EXPECT_EQ(read.Name(read.Publics[i].Name), written.Name(written.Publics[i].Name));
        }
    }
    ASSERT_EQ(read.Lines.size(), written.Lines.size());
    for (std::size_t i = 0; i < read.Lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read.Lines[i].Address, written.Lines[i].Address);
        EXPECT_EQ(read.Lines[i].Line, written.Lines[i].Line);
    }
    EXPECT_EQ(read.EntryPoint, written.EntryPoint);
}

TEST(MapFileStream, RoundTripsAllTablesWithNames) {
    const MapFileContent content = SampleContent();
    const std::string stream = WriteMapFileStream(content, false);
    ExpectSameTables(ReadMapFileStream(stream, false), content, true);
}

TEST(MapFileStream, MinimalStreamKeepsAddressesAndLineFlagsOnly) {
    const MapFileContent content = SampleContent();
    const std::string minimal = WriteMapFileStream(content, true);
    EXPECT_EQ(minimal.find("LocatePeak"), std::string::npos);
    EXPECT_EQ(minimal.find("main_form"), std::string::npos);
    const MapFileContent read = ReadMapFileStream(minimal, true);
    EXPECT_TRUE(read.Minimal);
    ExpectSameTables(read, content, false);
}

TEST(MapFileStream, UsesTheEscapeForLargeDifferences) {
    MapFileContent content;
    content.Publics.push_back({0x100, content.AddName("")});
    content.Publics.push_back({0x100 + 127, content.AddName("")});
    content.Publics.push_back({0x100 + 127 + 128, content.AddName("")});
    const std::string stream = WriteMapFileStream(content, true);
    // 4 segment count, 4 public count, 4 first address, 1 byte, escape and 4 bytes, 4 line count.
    EXPECT_EQ(stream.size(), 4U + 4 + 4 + 1 + 5 + 4);
    EXPECT_EQ(ReadMapFileStream(stream, true).Publics[2].Address, 0x100U + 127 + 128);
}

TEST(MapFileStream, WithoutEntryPointEndsAfterTheLineTable) {
    MapFileContent content = SampleContent();
    content.EntryPoint.reset();
    EXPECT_FALSE(ReadMapFileStream(WriteMapFileStream(content, false), false).EntryPoint);
}

TEST(MapFileStream, MarksSegmentsWithLinesFromTheLineTable) {
    MapFileContent content = SampleContent();
    const MapFileContent read = ReadMapFileStream(WriteMapFileStream(content, false), false);
    EXPECT_TRUE(read.Segments[0].HasLines);
    EXPECT_TRUE(read.Segments[1].HasLines);
    EXPECT_FALSE(read.Segments[2].HasLines);
}

TEST(MapFileStream, RefusesCutStreamsHugeCountsAndTrailingBytes) {
    const std::string stream = WriteMapFileStream(SampleContent(), false);
    EXPECT_THROW(ReadMapFileStream(stream.substr(0, stream.size() - 6), false),
                 DebugInfoFormatError);
    EXPECT_THROW(ReadMapFileStream(stream + "xy", false), DebugInfoFormatError);
    EXPECT_THROW(ReadMapFileStream(std::string("\xff\xff\xff\x7f", 4), false),
                 DebugInfoFormatError);
}

}  // namespace
}  // namespace kestrix
