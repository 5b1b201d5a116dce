// \brief Context capture through a queued real-time signal and one reserved slot; the two sides
// meet on futex words, which the signal handler can wait on and wake without any library lock.
#include "crash/threads/thread_context_capture.h"

#include <linux/futex.h>
#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>

namespace kestrix {
namespace {

// Below the stack pointer, leaf code may keep data without moving it.
constexpr std::uintptr_t RedZoneSize = 128;
// How long a thread waits in the handler for a requester that has gone away.
constexpr long AbandonedCaptureSeconds = 10;
constexpr std::size_t MaximumStackCopy = 8 * 1024 * 1024;

// Reserved at start-up; the handler writes here and nowhere else.
struct CaptureSlot {
    std::atomic<std::uint32_t> Requested{0};
    std::atomic<std::uint32_t> Answered{0};
    std::atomic<std::uint32_t> Released{0};
    pthread_t Handle{};
    greg_t Registers[NGREG]{};
};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free);

CaptureSlot g_slot;

std::uint32_t* FutexWord(std::atomic<std::uint32_t>& word) {
    return reinterpret_cast<std::uint32_t*>(&word);
}

// False when the time-out ran out.
bool FutexWait(std::atomic<std::uint32_t>& word, std::uint32_t seen, const timespec* timeout) {
    return syscall(SYS_futex, FutexWord(word), FUTEX_WAIT_PRIVATE, seen, timeout, nullptr, 0) ==
               0 ||
           errno != ETIMEDOUT;
}

void FutexWake(std::atomic<std::uint32_t>& word) {
    syscall(SYS_futex, FutexWord(word), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
}

// Runs in the signal handler of the captured thread: only async-signal-safe calls, no allocation.
void CopyContextAndWait(int, siginfo_t* info, void* rawContext) {
    const int savedErrno = errno;
    const auto request = static_cast<std::uint32_t>(info->si_value.sival_int);
    // Claiming the request withdraws it: a second or late signal for it finds nothing to answer.
    std::uint32_t claimed = request;
    if (info->si_code == SI_QUEUE && info->si_pid == getpid() && request != 0 &&
        g_slot.Requested.compare_exchange_strong(claimed, 0)) {
        const auto* context = static_cast<const ucontext_t*>(rawContext);
        std::memcpy(g_slot.Registers, context->uc_mcontext.gregs, sizeof g_slot.Registers);
        g_slot.Handle = pthread_self();
        g_slot.Answered.store(request);
        FutexWake(g_slot.Answered);
        timespec abandoned{AbandonedCaptureSeconds, 0};
        // Released only grows: the requester may have released this request and gone on to the
        // next one before this thread looks.
        for (std::uint32_t released = g_slot.Released.load();
             static_cast<std::int32_t>(released - request) < 0; released = g_slot.Released.load()) {
            if (!FutexWait(g_slot.Released, released, &abandoned)) {
                break;
            }
        }
    }
    errno = savedErrno;
}

void InstallHandler() {
    struct sigaction action {};
    action.sa_sigaction = &CopyContextAndWait;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigfillset(&action.sa_mask);
    sigaction(ContextCaptureSignal(), &action, nullptr);
}

bool SendCaptureRequest(ThreadId thread, std::uint32_t request) {
    siginfo_t info{};
    info.si_signo = ContextCaptureSignal();
    info.si_code = SI_QUEUE;
    info.si_pid = getpid();
    info.si_uid = getuid();
    info.si_value.sival_int = static_cast<int>(request);
    return syscall(SYS_rt_tgsigqueueinfo, getpid(), thread, info.si_signo, &info) == 0;
}

bool WaitForAnswer(std::uint32_t request, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (std::uint32_t answered = g_slot.Answered.load(); answered != request;
         answered = g_slot.Answered.load()) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::nanoseconds::zero()) {
            return false;
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        const timespec wait{seconds.count(), (left - seconds).count()};
        FutexWait(g_slot.Answered, answered, &wait);
    }
    return true;
}

// The stack bounds of the parked thread and a copy of its used part, read without trusting it.
void CopyStack(CapturedThreadContext& captured) {
    pthread_attr_t attributes;
    if (pthread_getattr_np(g_slot.Handle, &attributes) != 0) {
        return;
    }
    void* bottom = nullptr;
    std::size_t size = 0;
    pthread_attr_getstack(&attributes, &bottom, &size);
    pthread_attr_destroy(&attributes);
    captured.StackBottom = reinterpret_cast<std::uintptr_t>(bottom);
    captured.StackTop = captured.StackBottom + size;
    if (captured.StackPointer < captured.StackBottom ||
        captured.StackPointer >= captured.StackTop) {
        return;  // running on another stack: nothing of the thread's own to copy
    }
    const std::uintptr_t start =
        std::max(captured.StackPointer - RedZoneSize, captured.StackBottom);
    const std::size_t length = std::min<std::size_t>(captured.StackTop - start, MaximumStackCopy);
    captured.Stack.resize(length);
    iovec local{captured.Stack.data(), length};
    iovec remote{reinterpret_cast<void*>(start), length};
    const ssize_t read = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    captured.Stack.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    captured.StackCopyStart = start;
}

}  // namespace

int ContextCaptureSignal() {
    return SIGRTMIN + 4;
}

std::optional<CapturedThreadContext> CaptureThreadContext(ThreadId thread,
                                                          std::chrono::milliseconds timeout) {
    static std::once_flag installed;
    std::call_once(installed, &InstallHandler);
    static std::mutex oneAtATime;
    static std::uint32_t lastRequest = 0;
    if (thread == CurrentThreadId()) {
        return std::nullopt;
    }
    std::lock_guard lock(oneAtATime);
    const std::uint32_t request = ++lastRequest == 0 ? ++lastRequest : lastRequest;
    g_slot.Requested.store(request);

    bool answered = SendCaptureRequest(thread, request) && WaitForAnswer(request, timeout);
    if (!answered && g_slot.Requested.exchange(0) != request) {
        // The thread claimed the request just as the time ran out: its answer is on the way.
        answered = WaitForAnswer(request, std::chrono::seconds(AbandonedCaptureSeconds));
    }
    std::optional<CapturedThreadContext> captured;
    if (answered) {
        captured.emplace();
        std::copy(std::begin(g_slot.Registers), std::end(g_slot.Registers),
                  captured->Registers.begin());
        captured->InstructionPointer = static_cast<std::uintptr_t>(g_slot.Registers[REG_RIP]);
        captured->StackPointer = static_cast<std::uintptr_t>(g_slot.Registers[REG_RSP]);
        captured->FramePointer = static_cast<std::uintptr_t>(g_slot.Registers[REG_RBP]);
        CopyStack(*captured);
    }
    g_slot.Requested.store(0);
    g_slot.Released.store(request);
    FutexWake(g_slot.Released);
    return captured;
}

}  // namespace kestrix
