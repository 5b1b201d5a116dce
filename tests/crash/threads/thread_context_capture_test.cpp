// Tests of capturing the registers and stack of other real threads: busy, blocked in a system
// call, not answering, and ended.
#include "crash/threads/thread_context_capture.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "crash/settings/module_info.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

constexpr std::uint64_t StackMarker = 0x5ca1ab1e0ddba11ULL;

// A thread that spins with a marker in its own stack frame until it is told to stop.
struct BusyThread {
    std::atomic<const void*> Marker{nullptr};
    std::atomic<ThreadId> Id{0};
    std::atomic<bool> Stop{false};
    std::atomic<int> ErrnoAfter{0};
    std::thread Thread;

    BusyThread() {
        Thread = std::thread([this] {
            volatile std::uint64_t marker = StackMarker;
            errno = ERANGE;
            Id = CurrentThreadId();
            Marker = const_cast<const std::uint64_t*>(&marker);
            Marker.notify_all();
            std::uint64_t spins = 0;
            while (!Stop.load(std::memory_order_relaxed)) {
                spins = spins + marker;
            }
            ErrnoAfter = errno;
        });
        Marker.wait(nullptr);
    }
    ~BusyThread() { Finish(); }

    void Finish() {
        Stop = true;
        if (Thread.joinable()) {
            Thread.join();
        }
    }
};

TEST(ThreadContextCapture, ABusyThreadGivesItsRegistersAndTheStackAroundThem) {
    BusyThread busy;
    const std::optional<CapturedThreadContext> captured = CaptureThreadContext(busy.Id);
    ASSERT_TRUE(captured.has_value());

    EXPECT_EQ(ModuleOfAddress(reinterpret_cast<const void*>(captured->InstructionPointer)),
              MainModule())
        << "the thread spins in this test's own code";
    const auto marker = reinterpret_cast<std::uintptr_t>(busy.Marker.load());
    EXPECT_LE(captured->StackBottom, captured->StackPointer);
    EXPECT_LT(captured->StackPointer, captured->StackTop);
    ASSERT_GE(marker, captured->StackCopyStart);
    ASSERT_LT(marker + sizeof StackMarker, captured->StackCopyStart + captured->Stack.size());
    std::uint64_t copied = 0;
    std::memcpy(&copied, captured->Stack.data() + (marker - captured->StackCopyStart),
                sizeof copied);
    EXPECT_EQ(copied, StackMarker);
    EXPECT_EQ(captured->Registers[REG_RSP], static_cast<greg_t>(captured->StackPointer));

    busy.Finish();
    EXPECT_EQ(busy.ErrnoAfter.load(), ERANGE) << "the capture keeps the thread's errno";
}

TEST(ThreadContextCapture, AThreadBlockedInASystemCallIsCapturedAndItsCallGoesOn) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    std::atomic<ThreadId> id{0};
    ssize_t got = -1;
    char byte = 0;
    std::thread reader([&] {
        id = CurrentThreadId();
        id.notify_all();
        got = read(pipeEnds[0], &byte, 1);
    });
    id.wait(0);
    // Whether the reader is inside read() yet or not, it answers.
    EXPECT_TRUE(CaptureThreadContext(id).has_value());
    ASSERT_EQ(write(pipeEnds[1], "x", 1), 1);
    reader.join();
    EXPECT_EQ(got, 1);
    EXPECT_EQ(byte, 'x');
    close(pipeEnds[0]);
    close(pipeEnds[1]);
}

TEST(ThreadContextCapture, TheMainThreadsStackIsFoundToo) {
    std::optional<CapturedThreadContext> captured;
    const auto local = reinterpret_cast<std::uintptr_t>(&captured);
    std::thread([&] { captured = CaptureThreadContext(MainThreadId()); }).join();
    ASSERT_TRUE(captured.has_value());
    EXPECT_LE(captured->StackBottom, captured->StackPointer);
    EXPECT_LT(captured->StackPointer, local) << "the main thread waits deeper than this frame";
    EXPECT_LT(local, captured->StackTop);
    EXPECT_GE(captured->StackCopyStart + captured->Stack.size(), local);
}

TEST(ThreadContextCapture, AThreadThatDoesNotAnswerGivesNothingAndCarriesOn) {
    std::atomic<ThreadId> id{0};
    std::atomic<bool> release{false};
    std::thread deaf([&] {
        sigset_t capture;
        sigemptyset(&capture);
        sigaddset(&capture, ContextCaptureSignal());
        pthread_sigmask(SIG_BLOCK, &capture, nullptr);
        id = CurrentThreadId();
        id.notify_all();
        release.wait(false);
        // The late request arrives now and is found withdrawn.
        pthread_sigmask(SIG_UNBLOCK, &capture, nullptr);
    });
    id.wait(0);
    EXPECT_FALSE(CaptureThreadContext(id, std::chrono::milliseconds(200)).has_value());
    release = true;
    release.notify_all();
    deaf.join();

    BusyThread busy;
    EXPECT_TRUE(CaptureThreadContext(busy.Id).has_value()) << "the next capture still works";
}

TEST(ThreadContextCapture, EndedAndCurrentThreadsGiveNothing) {
    ThreadId ended = 0;
    std::thread([&] { ended = CurrentThreadId(); }).join();
    EXPECT_FALSE(CaptureThreadContext(ended).has_value());
    EXPECT_FALSE(CaptureThreadContext(CurrentThreadId()).has_value());
}

}  // namespace
}  // namespace kestrix
