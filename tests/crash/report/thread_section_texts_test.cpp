// \brief Thread section names, the unreadable stack and the creator line.
#include "crash/report/thread_section_texts.h"

#include <gtest/gtest.h>

#include <sched.h>

namespace kestrix {
namespace {

TEST(ThreadSectionTexts, TheNameShowsSuspensionAndPriority) {
    EXPECT_EQ(ThreadSectionName("main thread ($1a2b)", false, std::nullopt),
              "main thread ($1a2b):");
    EXPECT_EQ(ThreadSectionName("worker ($1a2c)", true, "5"),
              "worker ($1a2c): <suspended> <priority:5>");
    EXPECT_EQ(ThreadPriorityText(SCHED_OTHER, 0, 0), std::nullopt);
    EXPECT_EQ(ThreadPriorityText(SCHED_OTHER, 0, -3), "-3");
    EXPECT_EQ(ThreadPriorityText(SCHED_BATCH, 0, 10), "10");
    EXPECT_EQ(ThreadPriorityText(SCHED_FIFO, 50, 0), "realtime 50");
    EXPECT_EQ(ThreadPriorityText(SCHED_RR, 1, 0), "realtime 1");
}

TEST(ThreadSectionTexts, AnUnreadableStackOfTheCrashedThreadGivesTheLocation) {
    EXPECT_EQ(StackNotAccessibleText(false, "ignored"), ">> stack not accessible");
    EXPECT_EQ(StackNotAccessibleText(true, "0000555555554abc gatool main 12 main"),
              ">> stack not accessible, exception location: \r\n"
              "0000555555554abc gatool main 12 main");
}

TEST(ThreadSectionTexts, TheCreatorLineStandsBeforeTheCreationAddress) {
    EXPECT_EQ(WithCreatorLine("a\r\nb\r\ncreation", "main thread ($1)"),
              "a\r\nb\r\n>> created by main thread ($1) at:\r\ncreation");
    EXPECT_EQ(WithCreatorLine("creation", "main thread ($1)"),
              ">> created by main thread ($1) at:\r\ncreation");
}

}  // namespace
}  // namespace kestrix
