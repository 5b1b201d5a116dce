// Tests of cooperative pausing with real threads that run Qt event loops, and with this test's
// main thread paused through the message object.
#include "crash/threads/thread_pausing.h"

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QThread>
#include <atomic>
#include <cerrno>
#include <memory>
#include <thread>

#include "crash/threads/thread_naming.h"
#include "crash/threads/thread_registry.h"
#include "tests/crash/threads/core_application.h"

namespace kestrix {
namespace {

bool AnyCreator(const void*) {
    return true;
}

void WaitUntil(const std::function<bool()>& done) {
    while (!done()) {
        std::this_thread::yield();
    }
}

// Posts a call into the thread of the context object and waits until it has run there.
void RunInThreadOf(QObject* context) {
    std::atomic_flag ran;
    QMetaObject::invokeMethod(
        context,
        [&ran] {
            ran.test_and_set();
            ran.notify_all();
        },
        Qt::QueuedConnection);
    ran.wait(false);
}

class ThreadPausing : public testing::Test {
  protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }
    void TearDown() override {
        ResumeThreads();
        SetSelfNamingObserver(nullptr);
    }
    const MainThreadMessenger m_messenger;
};

constexpr int ErrnoSentinel = 4321;

TEST_F(ThreadPausing, AThreadWithAnEventLoopPausesThereAndResumesWithItsErrnoIntact) {
    std::atomic<ThreadId> id{0};
    std::atomic<QAbstractEventDispatcher*> dispatcher{nullptr};
    std::atomic<int> errnoChecks{0};
    std::atomic<int> errnoLost{0};
    std::unique_ptr<QThread> thread(QThread::create([&] {
        QAbstractEventDispatcher* const own = QAbstractEventDispatcher::instance();
        const auto setErrno = [] { errno = ErrnoSentinel; };
        const auto checkErrno = [&] {
            ++errnoChecks;
            if (errno != ErrnoSentinel) {
                ++errnoLost;
            }
        };
        // The pause hook runs between the two, on both of the dispatcher's signals.
        QObject::connect(own, &QAbstractEventDispatcher::aboutToBlock, own, setErrno);
        QObject::connect(own, &QAbstractEventDispatcher::awake, own, setErrno);
        EXPECT_TRUE(AttachPauseHook());
        QObject::connect(own, &QAbstractEventDispatcher::aboutToBlock, own, checkErrno);
        QObject::connect(own, &QAbstractEventDispatcher::awake, own, checkErrno);
        id = CurrentThreadId();
        dispatcher = own;
        dispatcher.notify_all();
        QEventLoop().exec();
    }));
    thread->start();
    dispatcher.wait(nullptr);

    PauseThreads(m_messenger, 0, &AnyCreator);
    WaitUntil([&] { return ThreadIsPaused(id); });
    std::atomic_flag ranWhilePaused;
    QMetaObject::invokeMethod(
        dispatcher.load(), [&] { ranWhilePaused.test_and_set(); }, Qt::QueuedConnection);
    std::this_thread::yield();
    EXPECT_TRUE(ThreadIsPaused(id));
    EXPECT_FALSE(ranWhilePaused.test());

    ResumeThreads();
    RunInThreadOf(dispatcher);
    EXPECT_TRUE(ranWhilePaused.test());
    EXPECT_FALSE(ThreadIsPaused(id));
    EXPECT_GT(errnoChecks.load(), 0);
    EXPECT_EQ(errnoLost.load(), 0);
    thread->quit();
    thread->wait();
}

// A QThread running its own event loop, known by the id it reports when it starts.
class RunningQThread {
  public:
    RunningQThread() {
        QObject::connect(
            &m_thread, &QThread::started, &m_thread,
            [this] {
                m_context = std::make_unique<QObject>();
                m_id = CurrentThreadId();
                m_id.notify_all();
            },
            Qt::DirectConnection);
        QObject::connect(
            &m_thread, &QThread::finished, &m_thread, [this] { m_context.reset(); },
            Qt::DirectConnection);
        m_thread.start();
        m_id.wait(0);
    }
    ~RunningQThread() {
        m_thread.quit();
        m_thread.wait();
    }
    ThreadId Id() const { return m_id; }
    QObject* Context() const { return m_context.get(); }

  private:
    QThread m_thread;
    std::unique_ptr<QObject> m_context;
    std::atomic<ThreadId> m_id{0};
};

TEST_F(ThreadPausing, QThreadsArePausableFromTheirStartOnceEnabled) {
    EnableThreadPausing();
    RunningQThread worker;
    PauseThreads(m_messenger, 0, &AnyCreator);
    WaitUntil([&] { return ThreadIsPaused(worker.Id()); });
    ResumeThreads();
    RunInThreadOf(worker.Context());
    EXPECT_FALSE(ThreadIsPaused(worker.Id()));
}

TEST_F(ThreadPausing, TheHandlerThreadAndThreadsOfOtherCreatorsAreNotPaused) {
    EnableThreadPausing();
    RunningQThread handler;
    PauseThreads(m_messenger, handler.Id(), &AnyCreator);
    RunInThreadOf(handler.Context());  // would never return if it were paused
    EXPECT_FALSE(ThreadIsPaused(handler.Id()));
    ResumeThreads();

    RunningQThread foreign;
    PauseThreads(m_messenger, 0, [](const void*) { return false; });
    RunInThreadOf(foreign.Context());
    EXPECT_FALSE(ThreadIsPaused(foreign.Id()));
}

TEST_F(ThreadPausing, TheMainThreadPausesThroughTheMessageObject) {
    std::atomic<bool> sawMainPaused{false};
    std::atomic<bool> done{false};
    std::thread handling([&] {
        PauseThreads(m_messenger, CurrentThreadId(), &AnyCreator);
        WaitUntil([] { return ThreadIsPaused(MainThreadId()); });
        sawMainPaused = true;
        ResumeThreads();
        done = true;
        m_messenger.Post([] {});  // wakes the main thread's event loop
    });
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    handling.join();
    EXPECT_TRUE(sawMainPaused);
    EXPECT_FALSE(ThreadIsPaused(MainThreadId()));
}

}  // namespace
}  // namespace kestrix
