// \brief The main thread's nested waits. Only the main thread touches them.
#include "crash/core/main_thread_wait.h"

#include <QEventLoop>
#include <algorithm>
#include <vector>

namespace kestrix {
namespace {

struct MainThreadWait {
    const Completion* Done;
    QEventLoop* Loop;
};

// Innermost last: a failure while the main thread waits for another nests a wait inside it.
std::vector<MainThreadWait>& Waits() {
    static std::vector<MainThreadWait> waits;
    return waits;
}

// Registered while it runs, also when an event escapes the loop with an exception.
class RegisteredWait {
  public:
    RegisteredWait(const Completion& done, QEventLoop& loop) : m_loop(loop) {
        Waits().push_back({&done, &loop});
    }
    ~RegisteredWait() {
        auto& waits = Waits();
        waits.erase(std::find_if(waits.begin(), waits.end(), [this](const MainThreadWait& wait) {
            return wait.Loop == &m_loop;
        }));
    }
    RegisteredWait(const RegisteredWait&) = delete;
    RegisteredWait& operator=(const RegisteredWait&) = delete;

  private:
    QEventLoop& m_loop;
};

}  // namespace

bool WaitInMainThread(const Completion& done) {
    QEventLoop loop;
    const RegisteredWait registered(done, loop);
    // The completion may come before the loop runs; its wake-up then ends the loop at once.
    if (!done.IsSet()) {
        loop.exec();
    }
    return done.IsSet();
}

void EndCompletedMainThreadWaits() {
    for (const MainThreadWait& wait : Waits()) {
        if (wait.Done->IsSet()) {
            wait.Loop->exit(0);
        }
    }
}

}  // namespace kestrix
