// The fault probe: a program built like gatool that provokes one kind of failure per run.
//
//   kestrix_fault_probe KIND [continue|restart|close]
//
// The optional outcome is set on the failure itself by a handler, so the box answers by itself;
// without one a failure that can continue continues and any other closes. The probe prints what
// happens, one flushed line at a time: each failure its handler sees, each action, each box shown
// (with the time since the failure was raised), and how the run ends.
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>

#include "crash/core/handle_exception.h"
#include "crash/core/handler_registry.h"
#include "crash/core/kes_exception.h"
#include "crash/settings/exported_switches.h"
#include "crash/ui/kestrix_start.h"

namespace {

constexpr const char* RestartedVariable = "KESTRIX_FAULT_PROBE_RESTARTED";

class EProbeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string g_outcome;
std::atomic<std::int64_t> g_raisedAt{0};
std::atomic<int> g_threadsDone{0};
std::atomic<int> g_continued{0};
std::atomic<int> g_nextEvents{0};
std::atomic<int> g_ticks{0};
std::atomic<bool> g_waitEnded{false};
// The GUI thread faults as soon as the box is up.
std::atomic<bool> g_faultInBox{false};

std::int64_t NowMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

[[noreturn, gnu::noinline]] void RaiseProbeError(const char* where) {
    g_raisedAt = NowMicroseconds();
    throw EProbeError(std::string("probe failure in ") + where);
}

void SayFailure(kestrix::IKXException& exception, bool&) {
    Say("failure: " + exception.ExceptClass() + ": " + exception.ExceptMessage() + " (" +
        kestrix::ExceptSourceName(exception.Source()) + ")");
    const std::string outcome =
        g_outcome.empty() ? (exception.CanContinue() ? "continue" : "close") : g_outcome;
    exception.SetAutoContinue(outcome == "continue");
    exception.SetAutoRestart(outcome == "restart" ? 1 : 0);
    exception.SetAutoClose(outcome == "close" ? 1 : 0);
    if (outcome == "restart") {
        setenv(RestartedVariable, "1", 1);
    }
}

void FailInHandler(kestrix::IKXException&, bool&) {
    Say("failing handler");
    throw std::runtime_error("failure inside a reporter handler");
}

void SayHidden(kestrix::IKXException& exception, bool&) {
    Say("hidden: " + exception.ExceptClass() + ": " + exception.ExceptMessage() + " (" +
        kestrix::ExceptSourceName(exception.Source()) + ")");
}

// Holds the failure on the handler thread until the failing GUI thread has stopped waiting for it
// (a bounded hold, so that a wait that does not end fails the run instead of hanging it), then
// ends its handling there.
void HoldUntilTheWaitEnds(kestrix::IKXException&, bool& handled) {
    for (int tries = 0; tries < 500 && !g_waitEnded.load(); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Say(g_waitEnded.load() ? "the wait ended before the failure was handled"
                           : "the wait went on after the quit");
    handled = true;
}

void SayAction(kestrix::IKXException&, kestrix::TExceptAction action, bool&) {
    Say("action: " + std::to_string(action));
    if (action == kestrix::eaContinueApplication) {
        ++g_continued;
    }
}

// Hands what escapes an event handler to Kestrix, as gatool's application object does, unless
// the run lets it escape the message loop.
class ProbeApplication : public QApplication {
  public:
    ProbeApplication(int& argc, char** argv, bool catchesFailures)
        : QApplication(argc, argv), m_catchesFailures(catchesFailures) {}
    bool notify(QObject* receiver, QEvent* event) override {
        if (!m_catchesFailures) {
            return QApplication::notify(receiver, event);
        }
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            const int ticksBefore = g_ticks.load();
            kestrix::HandleException({.Exception = std::current_exception(),
                                      .Source = kestrix::esApplicationHandleException,
                                      .RelatedObject = receiver});
            g_waitEnded = true;
            Say("continued; events during handling: " + std::to_string(g_ticks - ticksBefore));
            QTimer::singleShot(0, [] {
                Say("next event handled");
                ++g_nextEvents;
            });
            return false;
        }
    }

  private:
    const bool m_catchesFailures;
};

// Faults, each in a function of its own so that the report names it. The undefined-behaviour
// sanitizer would stop the two that are undefined in C++ before they reach the processor.
[[gnu::noinline, gnu::no_sanitize_undefined]] void AccessViolation() {
    // A pointer unknown to the compiler, which would otherwise drop a direct call of this
    // function as unreachable.
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}
[[gnu::noinline, gnu::no_sanitize_undefined]] void DivisionByZero() {
    // Both operands unknown to the compiler, so that it divides.
    volatile int dividend = 1;
    volatile int zero = 0;
    volatile int result = dividend / zero;
    (void)result;
}
[[gnu::noinline]] void IllegalInstruction() {
    __builtin_trap();
}
[[gnu::noinline]] void BusError() {
    const int file = memfd_create("fault-probe", 0);
    auto* mapped = static_cast<volatile char*>(mmap(nullptr, 4096, PROT_READ, MAP_SHARED, file, 0));
    (void)mapped[0];
}
// Ends only when the stack does; the depth limit is never reached.
[[gnu::noinline]] int Overflow(int depth) {
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    if (depth == std::numeric_limits<int>::max()) {
        return frame[0];
    }
    return Overflow(depth + 1) + frame[0];
}
// Longer than the watchdog's time-out, shorter than a second report after the first.
[[gnu::noinline]] void FreezeGuiThread() {
    std::this_thread::sleep_for(std::chrono::seconds(6));
    Say("unfrozen");
}
[[gnu::noinline]] void StackOverflow() {
    Say("overflowing " + std::to_string(Overflow(0)));
}

using Failure = std::function<void()>;

void InWorker(Failure failure) {
    std::thread(std::move(failure)).detach();
}

void* PlainThread(void*) {
    RaiseProbeError("a plain thread");
}

class ProbeThread : public QThread {
    void run() override { RaiseProbeError("a QThread"); }
};

const std::map<std::string, Failure>& Failures() {
    static const std::map<std::string, Failure> failures = {
        {"button", [] { RaiseProbeError("a button handler"); }},
        {"abort", [] { throw kestrix::EAbort(); }},
        {"during-box",
         [] {
             QTimer::singleShot(300, [] { RaiseProbeError("an event while the box is up"); });
             RaiseProbeError("a button handler");
         }},
        {"quit-while-waiting",
         [] {
             kestrix::RegisterExceptionHandler(&HoldUntilTheWaitEnds, kestrix::stDontSync,
                                               kestrix::epQuickFiltering);
             QTimer::singleShot(0, [] { QCoreApplication::quit(); });
             RaiseProbeError("a handler before the application quits");
         }},
        {"fault-during-box",
         [] {
             g_faultInBox = true;
             RaiseProbeError("a button handler");
         }},
        {"escape-loop", [] { RaiseProbeError("a handler whose failure leaves the loop"); }},
        {"hidden",
         [] {
             kestrix::RegisterHiddenExceptionHandler(&SayHidden, kestrix::stDontSync);
             try {
                 RaiseProbeError("code that catches it itself");
             } catch (const EProbeError&) {
                 Say("caught by the program");
             }
             kestrix::UnregisterHiddenExceptionHandler(&SayHidden);
             QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
         }},
        {"freeze",
         [] {
             FreezeGuiThread();
             QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
         }},
        {"handler-failure",
         [] {
             kestrix::RegisterExceptionHandler(&FailInHandler, kestrix::stDontSync,
                                               kestrix::epMainPhase);
             RaiseProbeError("a button handler");
         }},
        {"std-thread", [] { InWorker([] { RaiseProbeError("a std::thread"); }); }},
        {"joined-thread",
         [] {
             // The GUI thread waits for the failing thread: the box cannot come up there.
             std::thread([] { RaiseProbeError("a thread the GUI thread joins"); }).join();
             Say("joined");
             QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
         }},
        {"pthread",
         [] {
             std::thread([] {
                 pthread_t thread;
                 pthread_create(&thread, nullptr, &PlainThread, nullptr);
                 void* result = nullptr;
                 pthread_join(thread, &result);
                 Say("plain thread returned " +
                     std::to_string(reinterpret_cast<std::intptr_t>(result)));
                 ++g_threadsDone;
             }).detach();
         }},
        {"qthread",
         [] {
             auto* thread = new ProbeThread;
             thread->start();
         }},
        {"two-threads",
         [] {
             static std::barrier together(2);
             for (const char* name : {"first thread", "second thread"}) {
                 InWorker([name] {
                     together.arrive_and_wait();
                     RaiseProbeError(name);
                 });
             }
         }},
        {"segv", &AccessViolation},
        {"fpe", &DivisionByZero},
        {"ill", &IllegalInstruction},
        {"bus", &BusError},
        {"abrt", [] { std::abort(); }},
        {"stack-overflow", &StackOverflow},
        {"segv-worker", [] { InWorker(&AccessViolation); }},
        {"fpe-worker", [] { InWorker(&DivisionByZero); }},
        {"ill-worker", [] { InWorker(&IllegalInstruction); }},
        {"bus-worker", [] { InWorker(&BusError); }},
        {"abrt-worker", [] { InWorker([] { std::abort(); }); }},
        {"stack-overflow-worker", [] { InWorker(&StackOverflow); }},
        {"terminate", [] { std::terminate(); }},
        {"qfatal", [] { qFatal("probe fatal message %d", 42); }},
    };
    return failures;
}

// The kinds that continue end the run once their failures have been handled and, for those of the
// GUI thread, the window has gone on to its next events (a plain thread once it has been joined).
bool RunDone(const std::string& kind) {
    const int continued = g_continued.load();
    const int nextEvents = g_nextEvents.load();
    if (kind == "button" || kind == "handler-failure") {
        return continued == 1 && nextEvents == 1;
    }
    if (kind == "during-box") {
        return continued == 2 && nextEvents == 2;
    }
    if (kind == "abort") {
        return nextEvents == 1;
    }
    if (kind == "std-thread" || kind == "two-threads") {
        return continued == (kind == "two-threads" ? 2 : 1);
    }
    return kind == "pthread" && g_threadsDone.load() == 1;
}

}  // namespace

int main(int argc, char** argv) {
    kestrix::OnExceptBoxCreate = [](QWidget* box) {
        const std::int64_t raisedAt = g_raisedAt.load();
        const std::string elapsed =
            raisedAt != 0
                ? std::to_string(static_cast<double>(NowMicroseconds() - raisedAt) / 1000.0) + " ms"
                : "";
        const auto* message = box->findChild<QLabel*>("message");
        Say("box shown: " + (message != nullptr ? message->text().toStdString() : "") + " " +
            elapsed);
        if (g_faultInBox.exchange(false)) {
            AccessViolation();
        }
        // The user's Esc, which the box turns into a close request.
        if (g_outcome == "escape") {
            QTimer::singleShot(0, box, [box] {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(box, &escape);
            });
        }
    };
    const auto kestrix = kestrix::StartKestrix(argc, argv);
    if (std::getenv(RestartedVariable) != nullptr) {
        Say("started after restart");
        return 0;
    }
    if (argc < 2 || Failures().count(argv[1]) == 0) {
        std::fprintf(stderr, "usage: %s KIND [continue|restart|close]\n", argv[0]);
        return 64;
    }
    const std::string kind = argv[1];
    g_outcome = argc > 2 ? argv[2] : "";
    kestrix::RegisterExceptionHandler(&SayFailure, kestrix::stDontSync, kestrix::epQuickFiltering);
    kestrix::RegisterExceptActionHandler(&SayAction, kestrix::stDontSync);

    int qtArgumentCount = 1;
    ProbeApplication application(qtArgumentCount, argv, kind != "escape-loop");
    QPushButton button("fail");
    QObject::connect(&button, &QPushButton::clicked, [&kind] { Failures().at(kind)(); });
    button.show();
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [] { ++g_ticks; });
    ticks.start(20);
    QTimer::singleShot(0, &button, &QPushButton::click);
    QTimer runDone;
    QObject::connect(&runDone, &QTimer::timeout, [&kind] {
        if (RunDone(kind)) {
            Say("run ended");
            QCoreApplication::exit(0);
        }
    });
    runDone.start(20);
    try {
        QApplication::exec();
    } catch (...) {
        kestrix::HandleException({.Exception = std::current_exception(),
                                  .CanContinue = false,
                                  .Source = kestrix::esExceptProc});
    }
    Say("message loop ended");
    return 0;
}
