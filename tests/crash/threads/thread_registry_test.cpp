// Tests of the thread registry under real threads of every kind the program starts: std::thread,
// QThread and plain pthread_create, all through the interposed creation wrapper linked into this
// test.
#include "crash/threads/thread_registry.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QThread>
#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kestrix {
namespace {

// What a short-lived thread saw of itself in the registry.
struct ThreadSighting {
    ThreadId Id = 0;
    bool Registered = false;
    ThreadId CreatorThread = 0;
    std::string NameGiven;
    std::string NameRead;
    std::string DisplayText;
};

ThreadSighting SightCurrentThread(int serial) {
    ThreadSighting sighting;
    sighting.Id = CurrentThreadId();
    for (const ThreadEntry& entry : RegisteredThreads()) {
        if (entry.Id == sighting.Id) {
            sighting.Registered = true;
            sighting.CreatorThread = entry.CreatorThread;
        }
    }
    sighting.NameGiven = "worker " + std::to_string(serial);
    NameThread(0, sighting.NameGiven);
    sighting.NameRead = GetThreadName(0);
    sighting.DisplayText = ThreadDisplayText(sighting.Id);
    return sighting;
}

void* RunFunction(void* function) {
    (*static_cast<std::function<void()>*>(function))();
    return nullptr;
}

struct ThreadKind {
    const char* Name;
    // Starts the work on a new thread and returns a joiner.
    std::function<std::function<void()>(std::function<void()>*)> Start;
};

const ThreadKind ThreadKinds[] = {
    {"std::thread",
     [](std::function<void()>* work) {
         auto thread = std::make_shared<std::thread>(*work);
         return std::function<void()>([thread] { thread->join(); });
     }},
    {"QThread",
     [](std::function<void()>* work) {
         auto id = std::make_shared<std::atomic<ThreadId>>(0);
         std::shared_ptr<QThread> thread(QThread::create([work, id] {
             *id = CurrentThreadId();
             (*work)();
         }));
         thread->start();
         // A QThread is detached and reports itself finished before its system thread ends.
         return std::function<void()>([thread, id] {
             thread->wait();
             while (ThreadIsAlive(*id)) {
                 std::this_thread::yield();
             }
         });
     }},
    {"pthread_create",
     [](std::function<void()>* work) {
         pthread_t thread{};
         EXPECT_EQ(pthread_create(&thread, nullptr, &RunFunction, work), 0);
         return std::function<void()>([thread] { pthread_join(thread, nullptr); });
     }},
};

void PrintTo(const ThreadKind& kind, std::ostream* out) {
    *out << kind.Name;
}

class ThreadRegistryUnderThreads : public testing::TestWithParam<ThreadKind> {};

TEST_P(ThreadRegistryUnderThreads, EveryShortLivedThreadIsRegisteredNamedAndRemoved) {
    constexpr int ThreadCount = 240;
    constexpr int Concurrent = 8;
    std::mutex guard;
    std::vector<ThreadSighting> sightings;
    std::vector<std::function<void()>> works(ThreadCount);
    for (int first = 0; first < ThreadCount; first += Concurrent) {
        std::vector<std::function<void()>> joiners;
        for (int serial = first; serial < first + Concurrent; ++serial) {
            works[static_cast<std::size_t>(serial)] = [&, serial] {
                ThreadSighting sighting = SightCurrentThread(serial);
                std::lock_guard lock(guard);
                sightings.push_back(std::move(sighting));
            };
            joiners.push_back(GetParam().Start(&works[static_cast<std::size_t>(serial)]));
        }
        for (const auto& join : joiners) {
            join();
        }
    }

    ASSERT_EQ(sightings.size(), static_cast<std::size_t>(ThreadCount));
    const std::vector<ThreadEntry> remaining = RegisteredThreads();
    for (const ThreadSighting& sighting : sightings) {
        SCOPED_TRACE(sighting.NameGiven);
        EXPECT_TRUE(sighting.Registered);
        EXPECT_EQ(sighting.CreatorThread, CurrentThreadId());
        EXPECT_EQ(sighting.NameRead, sighting.NameGiven);
        EXPECT_EQ(sighting.DisplayText,
                  sighting.NameGiven + " (" + ThreadIdText(sighting.Id) + ")");
        EXPECT_EQ(std::ranges::count(remaining, sighting.Id, &ThreadEntry::Id), 0)
            << "an ended thread stays in the registry";
    }
}

INSTANTIATE_TEST_SUITE_P(AllThreadKinds,
                         ThreadRegistryUnderThreads,
                         testing::ValuesIn(ThreadKinds),
                         [](const testing::TestParamInfo<ThreadKind>& kind) {
                             std::string name = kind.param.Name;
                             std::erase_if(name, [](char c) { return !std::isalnum(c); });
                             return name;
                         });

// A thread that waits until it is let go, to be named and looked at while it runs.
class ParkedThread {
  public:
    ParkedThread() {
        m_thread = std::thread([this] {
            m_id = CurrentThreadId();
            m_handle = pthread_self();
            m_started.test_and_set();
            m_started.notify_all();
            m_release.wait(false);
        });
        m_started.wait(false);
    }
    ~ParkedThread() {
        m_release.test_and_set();
        m_release.notify_all();
        m_thread.join();
    }
    ThreadId Id() const { return m_id; }
    pthread_t Handle() const { return m_handle; }

  private:
    std::atomic_flag m_started;
    std::atomic_flag m_release;
    ThreadId m_id = 0;
    pthread_t m_handle{};
    std::thread m_thread;
};

TEST(ThreadNames, ModulesJoinAndLeaveTheRegistryByCount) {
    const int joined = JoinThreadRegistry();
    EXPECT_EQ(JoinThreadRegistry(), joined + 1);
    EXPECT_EQ(LeaveThreadRegistry(), joined);
    EXPECT_EQ(LeaveThreadRegistry(), joined - 1);
    EXPECT_EQ(GetThreadName(MainThreadId()), MainThreadName);
}

TEST(ThreadNames, DisplayTextsFollowNameAndClass) {
    JoinThreadRegistry();
    ParkedThread named, reporter, withClass, plain;
    NameThread(named.Id(), "loader");
    NameThread(reporter.Id(), ReporterThreadName);
    SetThreadClassName(withClass.Id(), "TLoaderThread");

    const std::string mainId = ThreadIdText(MainThreadId());
    EXPECT_EQ(ThreadDisplayText(MainThreadId()), "main thread (" + mainId + ")");
    EXPECT_EQ(ThreadDisplayText(named.Id()), "loader (" + ThreadIdText(named.Id()) + ")");
    EXPECT_EQ(ThreadDisplayText(reporter.Id()), "thread " + ThreadIdText(reporter.Id()));
    EXPECT_EQ(GetThreadName(reporter.Id()), "-");
    EXPECT_EQ(ThreadDisplayText(withClass.Id()),
              "thread " + ThreadIdText(withClass.Id()) + " (TLoaderThread)");
    EXPECT_EQ(ThreadDisplayText(plain.Id()), "thread " + ThreadIdText(plain.Id()));
    EXPECT_EQ(GetThreadName(plain.Id()), "");
    LeaveThreadRegistry();
}

TEST(ThreadNames, IdsAreDollarAndLowerCaseHex) {
    EXPECT_EQ(ThreadIdText(0x1a2f), "$1a2f");
    EXPECT_EQ(ThreadIdText(7), "$7");
}

TEST(ThreadNames, TheSystemsNamingCallsNameTheThreadInTheRegistry) {
    ParkedThread other;
    ASSERT_EQ(pthread_setname_np(other.Handle(), "from outside"), 0);
    EXPECT_EQ(GetThreadName(other.Id()), "from outside");

    std::string selfNamed;
    std::thread([&] {
        pthread_setname_np(pthread_self(), "self named");
        selfNamed = GetThreadName(0);
    }).join();
    EXPECT_EQ(selfNamed, "self named");
}

TEST(ThreadNames, QThreadsAreKnownByTheNameQtGivesThem) {
    std::string seen;
    std::unique_ptr<QThread> thread(QThread::create([&] { seen = GetThreadName(0); }));
    thread->setObjectName("sampler");
    thread->start();
    thread->wait();
    EXPECT_EQ(seen, "sampler");
}

TEST(ThreadNames, AThreadThatHasEndedIsNotNamed) {
    ThreadId ended = 0;
    std::thread([&] { ended = CurrentThreadId(); }).join();
    NameThread(ended, "ghost");
    EXPECT_EQ(std::ranges::count(RegisteredThreads(), ended, &ThreadEntry::Id), 0);
}

// A copy of this process made while another thread is inside the registry has the registry held
// for good: its names must fall back to the id instead of hanging.
TEST(ThreadNames, ABusyRegistryGivesTheIdAfterFiftyMilliseconds) {
    std::atomic<ThreadId> namer{0};
    std::atomic<bool> stop{false};
    std::thread busy([&] {
        namer = CurrentThreadId();
        namer.notify_all();
        while (!stop) {
            NameThread(0, "busy namer");
        }
    });
    namer.wait(0);
    const std::string named = "busy namer (" + ThreadIdText(namer) + ")";
    const std::string fallback = "thread " + ThreadIdText(namer);
    enum Outcome { Named, FellBack, Other };
    bool fellBack = false;
    for (int attempt = 0; attempt < 5000 && !fellBack; ++attempt) {
        const pid_t copy = fork();
        if (copy == 0) {
            alarm(10);  // a copy that hangs on the registry ends by the signal, and fails the test
            const std::string text = ThreadDisplayText(namer);
            _exit(text == named ? Named : text == fallback ? FellBack : Other);
        }
        int status = 0;
        ASSERT_EQ(waitpid(copy, &status, 0), copy);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_NE(WEXITSTATUS(status), Other);
        fellBack = WEXITSTATUS(status) == FellBack;
    }
    stop = true;
    busy.join();
    EXPECT_TRUE(fellBack) << "no copy was made while the registry was held";
}

void* NameItselfAndEnd(void* id) {
    NameThread(0, "unwrapped");
    *static_cast<ThreadId*>(id) = CurrentThreadId();
    return nullptr;
}

TEST(ThreadNames, AThreadStartedPastTheWrapperLeavesAtTheNextChange) {
    // The C library's own creation function, as for a thread the wrapper never saw start.
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    const auto systemCreate = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    ASSERT_NE(systemCreate, nullptr);
    ThreadId ended = 0;
    pthread_t thread{};
    ASSERT_EQ(systemCreate(&thread, nullptr, &NameItselfAndEnd, &ended), 0);
    pthread_join(thread, nullptr);
    ASSERT_NE(ended, 0);

    NameThread(0, "tester");
    EXPECT_EQ(GetThreadName(ended), "");
    EXPECT_EQ(GetThreadName(0), "tester");
}

}  // namespace
}  // namespace kestrix
