// Tests of the guard that the interposed pthread_create puts around every thread procedure.
#include "crash/threads/thread_frame.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <exception>
#include <stdexcept>
#include <string>
#include <thread>

#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

std::string g_failureSeen;
int g_failuresHandled = 0;

void RecordFailure() {
    ++g_failuresHandled;
    try {
        std::rethrow_exception(std::current_exception());
    } catch (const std::exception& failure) {
        g_failureSeen = failure.what();
    }
}

class ThreadFrame : public testing::Test {
  protected:
    void SetUp() override {
        g_failureSeen.clear();
        g_failuresHandled = 0;
        m_previous = SetThreadFrameHandler(&RecordFailure);
    }
    void TearDown() override { SetThreadFrameHandler(m_previous); }

    static void* Join(pthread_t thread) {
        void* result = nullptr;
        EXPECT_EQ(pthread_join(thread, &result), 0);
        return result;
    }

  private:
    ThreadFrameHandler m_previous = nullptr;
};

void* Throwing(void*) {
    throw std::runtime_error("worker failed");
}

TEST_F(ThreadFrame, AFailureEscapingAThreadGoesToTheHandlerAndTheThreadReturnsMinusOne) {
    pthread_t thread{};
    ASSERT_EQ(pthread_create(&thread, nullptr, &Throwing, nullptr), 0);
    EXPECT_EQ(Join(thread), reinterpret_cast<void*>(-1));
    EXPECT_EQ(g_failuresHandled, 1);
    EXPECT_EQ(g_failureSeen, "worker failed");
}

TEST_F(ThreadFrame, AFailureEscapingAStdThreadGoesToTheHandler) {
    std::thread([] { throw std::logic_error("std worker failed"); }).join();
    EXPECT_EQ(g_failuresHandled, 1);
    EXPECT_EQ(g_failureSeen, "std worker failed");
}

void* Exiting(void*) {
    pthread_exit(reinterpret_cast<void*>(7));
}

void* WaitingForCancel(void* pipeEnd) {
    char byte = 0;
    // A cancellation point that never returns: nobody writes to the pipe.
    [[maybe_unused]] const auto got = read(*static_cast<int*>(pipeEnd), &byte, 1);
    return nullptr;
}

TEST_F(ThreadFrame, ThreadExitAndCancellationPassThroughTheGuard) {
    pthread_t exiting{};
    ASSERT_EQ(pthread_create(&exiting, nullptr, &Exiting, nullptr), 0);
    EXPECT_EQ(Join(exiting), reinterpret_cast<void*>(7));

    int never[2];
    ASSERT_EQ(pipe(never), 0);
    pthread_t cancelled{};
    ASSERT_EQ(pthread_create(&cancelled, nullptr, &WaitingForCancel, &never[0]), 0);
    ASSERT_EQ(pthread_cancel(cancelled), 0);
    EXPECT_EQ(Join(cancelled), PTHREAD_CANCELED);
    close(never[0]);
    close(never[1]);

    EXPECT_EQ(g_failuresHandled, 0);
}

void* CreatorProcedure(void* seen) {
    for (const ThreadEntry& entry : RegisteredThreads()) {
        if (entry.Id == CurrentThreadId()) {
            *static_cast<ThreadEntry*>(seen) = entry;
        }
    }
    return nullptr;
}

TEST_F(ThreadFrame, TheNewThreadIsRegisteredWithItsProcedureAndCreator) {
    ThreadEntry seen;
    pthread_t thread{};
    ASSERT_EQ(pthread_create(&thread, nullptr, &CreatorProcedure, &seen), 0);
    Join(thread);
    EXPECT_EQ(seen.CreatorAddress, reinterpret_cast<const void*>(&CreatorProcedure));
    EXPECT_EQ(seen.CreatorThread, CurrentThreadId());
    ASSERT_TRUE(seen.Handle.has_value());
    EXPECT_TRUE(pthread_equal(*seen.Handle, thread));
}

TEST(ThreadFrameWithoutHandler, AnEscapingFailureEndsTheProgramThroughTerminate) {
    EXPECT_EXIT(
        {
            std::set_terminate([] {
                try {
                    std::rethrow_exception(std::current_exception());
                } catch (const std::exception& failure) {
                    write(STDERR_FILENO, failure.what(), strlen(failure.what()));
                }
                _exit(3);
            });
            pthread_t thread{};
            pthread_create(&thread, nullptr, &Throwing, nullptr);
            pthread_join(thread, nullptr);
        },
        testing::ExitedWithCode(3), "worker failed");
}

// Runs in the signal handler: only async-signal-safe calls.
void ReportOverflow(int) {
    constexpr char Text[] = "handled on the alternate stack";
    [[maybe_unused]] const auto written = write(STDERR_FILENO, Text, sizeof Text - 1);
    _exit(4);
}

// Deeper than any thread stack can hold.
volatile int g_recursionLimit = 1'000'000'000;

int Recurse(int depth) {
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    if (depth == g_recursionLimit) {
        return frame[0];
    }
    return Recurse(depth + 1) + frame[0];
}

TEST(ThreadFrameSignalStack, AStackOverflowInAWorkerThreadReachesTheFaultHandler) {
    EXPECT_EXIT(
        {
            struct sigaction action {};
            action.sa_handler = &ReportOverflow;
            action.sa_flags = SA_ONSTACK;
            sigaction(SIGSEGV, &action, nullptr);
            std::thread([] { Recurse(0); }).join();
        },
        testing::ExitedWithCode(4), "handled on the alternate stack");
}

}  // namespace
}  // namespace kestrix
