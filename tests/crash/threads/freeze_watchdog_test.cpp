// Tests of the freeze watchdog against this test's own main thread as the GUI thread: blocked,
// answering through its event loop, or saying itself that it is not frozen.
#include "crash/threads/freeze_watchdog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "crash/threads/thread_registry.h"
#include "tests/crash/threads/core_application.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;

class FreezeWatchdogTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }

    // Called on the watchdog's thread for every freeze it reports.
    void OnFreeze(const FreezeWatchdog* const* watchdog) {
        std::lock_guard lock(m_guard);
        m_reportingThreads.push_back(CurrentThreadId());
        m_intervals.push_back((*watchdog)->Interval());
        m_reports.fetch_add(1);
        m_reports.notify_all();
    }

    void WaitForReports(int count) {
        for (int seen = m_reports.load(); seen < count; seen = m_reports.load()) {
            m_reports.wait(seen);
        }
    }

    static void ProcessEventsUntil(const std::function<bool()>& done) {
        while (!done()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }

    std::mutex m_guard;
    std::vector<ThreadId> m_reportingThreads;
    std::vector<std::chrono::milliseconds> m_intervals;
    std::atomic<int> m_reports{0};
    const MainThreadMessenger m_messenger;
};

TEST_F(FreezeWatchdogTest,
       ABlockedGuiThreadIsReportedAfterTenMissedCyclesWithALongerIntervalEachTime) {
    const FreezeWatchdog* watchdog = nullptr;
    FreezeWatchdog watching(m_messenger, 1000ms, [&] { OnFreeze(&watchdog); });
    watchdog = &watching;
    ASSERT_TRUE(watching.Running());

    WaitForReports(3);  // the GUI thread does not run its event loop meanwhile
    {
        std::lock_guard lock(m_guard);
        EXPECT_EQ(m_intervals, (std::vector<std::chrono::milliseconds>{100ms, 150ms, 225ms}));
        for (const ThreadId reporter : m_reportingThreads) {
            EXPECT_NE(reporter, CurrentThreadId());
            EXPECT_EQ(GetThreadName(reporter), ReporterThreadName);
        }
    }

    ProcessEventsUntil([&] { return watching.AnsweredCycles() > 0; });
    EXPECT_EQ(watching.Interval(), 100ms) << "an answered cycle resets the interval";
}

TEST_F(FreezeWatchdogTest, AGuiThreadThatRunsItsEventLoopIsNotReported) {
    const FreezeWatchdog* watchdog = nullptr;
    FreezeWatchdog watching(m_messenger, 1000ms, [&] { OnFreeze(&watchdog); });
    watchdog = &watching;
    ProcessEventsUntil([&] { return watching.AnsweredCycles() >= 15; });
    EXPECT_EQ(m_reports.load(), 0);
}

TEST_F(FreezeWatchdogTest, ImNotFrozenStandsInForTheAnswerUntilItStops) {
    const FreezeWatchdog* watchdog = nullptr;
    FreezeWatchdog watching(m_messenger, 1000ms, [&] { OnFreeze(&watchdog); });
    watchdog = &watching;
    while (watching.AnsweredCycles() < 15) {
        ImNotFrozen();  // busy without the event loop, but alive
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(m_reports.load(), 0);
    WaitForReports(1);
    EXPECT_EQ(m_reports.load(), 1);
}

TEST_F(FreezeWatchdogTest, OnlyOneWatchdogRunsInAProcess) {
    FreezeWatchdog first(m_messenger, 60000ms, [] {});
    FreezeWatchdog second(m_messenger, 60000ms, [] {});
    EXPECT_TRUE(first.Running());
    EXPECT_FALSE(second.Running());
}

TEST_F(FreezeWatchdogTest, TheTimeOutIsSetInWholeSeconds) {
    FreezeWatchdog watching(m_messenger, 60000ms, [] {});
    SetFreezeTimeout(3);
    EXPECT_EQ(watching.Interval(), 300ms);
    EXPECT_THROW(SetFreezeTimeout(0), std::invalid_argument);
    EXPECT_EQ(watching.Interval(), 300ms);
}

TEST(FreezeCheckPause, PausesNest) {
    ASSERT_FALSE(FreezeCheckPaused());
    PauseFreezeCheck(true);
    PauseFreezeCheck(true);
    PauseFreezeCheck(false);
    EXPECT_TRUE(FreezeCheckPaused());
    PauseFreezeCheck(false);
    EXPECT_FALSE(FreezeCheckPaused());
}

}  // namespace
}  // namespace kestrix
