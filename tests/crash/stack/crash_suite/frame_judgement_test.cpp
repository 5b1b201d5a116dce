// Tests of the crash suite's judgement on made-up frame lists, so that a walk the judge passes
// is one that lists gdb's frames.
#include "tests/crash/stack/crash_suite/frame_judgement.h"

#include <gtest/gtest.h>

namespace crash_suite {
namespace {

TFrame Own(std::uintptr_t address, int line = 0) {
    return {true, address, line, "crash_suite::F" + std::to_string(address), ""};
}

TFrame Foreign(std::uintptr_t address) {
    return {false, address, 0, "QObject::setObjectName", ""};
}

TEST(JudgeWalk, CountsFoundMissedFalseAndWrongLines) {
    struct Case {
        const char* name;
        std::vector<TFrame> gdb;
        std::vector<TFrame> walked;
        std::size_t expected, found, missed, wrongFalse, wrongLines;
    };
    const TFrame templateArgument{true, 0x90, 0, "QtPrivate::Impl<void (crash_suite::W::*)()>", ""};
    const TFrame returnType{true, 0x90, 0, "void crash_suite::Chain<1>()", ""};
    for (const Case& c : {
             Case{"all found",
                  {Own(0x10), Own(0x20), Own(0x30)},
                  {Own(0x10), Own(0x20), Own(0x30)},
                  3,
                  3,
                  0,
                  0,
                  0},
             Case{"one missed",
                  {Own(0x10), Own(0x20), Own(0x30)},
                  {Own(0x10), Own(0x30)},
                  3,
                  2,
                  1,
                  0,
                  0},
             Case{"one invented",
                  {Own(0x10), Own(0x30)},
                  {Own(0x10), Own(0x20), Own(0x30)},
                  2,
                  2,
                  0,
                  1,
                  0},
             Case{"out of order",
                  {Own(0x10), Own(0x20), Own(0x30)},
                  {Own(0x10), Own(0x30), Own(0x20)},
                  3,
                  2,
                  1,
                  1,
                  0},
             Case{"nothing walked", {Own(0x10), Own(0x20)}, {}, 2, 0, 2, 0, 0},
             Case{"another line",
                  {Own(0x10, 12), Own(0x20, 0)},
                  {Own(0x10, 13), Own(0x20, 99)},
                  2,
                  2,
                  0,
                  0,
                  1},
             Case{"other modules not judged",
                  {Own(0x10), Foreign(0x7f0000), Own(0x20)},
                  {Own(0x10), Foreign(0x7f1000), Own(0x20)},
                  2,
                  2,
                  0,
                  0,
                  0},
             Case{"a recursion is expected once",
                  {Own(0x10), Own(0x20), Own(0x20), Own(0x20), Own(0x30)},
                  {Own(0x10), Own(0x20), Own(0x30)},
                  3,
                  3,
                  0,
                  0,
                  0},
             Case{"a repeated run through another module is expected once",
                  {Own(0x20), Foreign(0x7f0000), Own(0x20), Foreign(0x7f0000), Own(0x30)},
                  {Own(0x20), Own(0x30)},
                  2,
                  2,
                  0,
                  0,
                  0},
             Case{"a template argument is no scenario frame",
                  {Own(0x10)},
                  {Own(0x10), templateArgument},
                  1,
                  1,
                  0,
                  0,
                  0},
             Case{"a return type is passed over",
                  {Own(0x10), Own(0x90)},
                  {Own(0x10), returnType},
                  2,
                  2,
                  0,
                  0,
                  0},
         }) {
        SCOPED_TRACE(c.name);
        const TJudgement judgement = JudgeWalk(c.gdb, c.walked);
        EXPECT_EQ(judgement.Expected, c.expected);
        EXPECT_EQ(judgement.Found, c.found);
        EXPECT_EQ(judgement.Missed, c.missed);
        EXPECT_EQ(judgement.False, c.wrongFalse);
        EXPECT_EQ(judgement.WrongLines, c.wrongLines);
    }
}

}  // namespace
}  // namespace crash_suite
