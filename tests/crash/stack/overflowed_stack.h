// A test helper: a thread of an 8 MB stack that a recursion fills down to a small rest, as a
// stack overflow leaves it, and a body run in its deepest call.
#pragma once

#include <pthread.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "crash/stack/stack_trace.h"

namespace kestrix {

constexpr std::size_t OverflowStackSize = std::size_t{8} << 20;
// Left below the recursion for the body: the walk runs there.
constexpr std::size_t OverflowStackRest = std::size_t{256} << 10;

// What the recursion left, for checking a walk of it.
struct TOverflowSites {
    std::uintptr_t IntoRecursion = 0;  // the return address of the recursion's call of itself
    std::size_t Depth = 0;             // the calls of the recursion
    bool Ran = false;                  // the thread ran the body
};

// Kept outside the overflowed stack: a copy of a return address in a frame there would be an item.
struct TOverflowRun {
    std::function<void()> Body;
    std::uintptr_t Limit = 0;  // the recursion ends at a frame below it
    TOverflowSites Sites;
};

// Not cloned per depth: every level must be the same procedure with the same call.
[[gnu::noinline, gnu::noclone]] inline void OverflowRecursion(TOverflowRun& run) {
    volatile std::uintptr_t locals[6];
    for (std::uintptr_t i = 0; i < 6; ++i)
        locals[i] = run.Sites.Depth * 6 + i;
    ++run.Sites.Depth;
    if (reinterpret_cast<std::uintptr_t>(&locals) > run.Limit) {
        OverflowRecursion(run);
    } else {
        run.Sites.IntoRecursion = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
        run.Body();
    }
    asm volatile("" ::: "memory");
}

[[gnu::noinline]] inline void* OverflowThreadEntry(void* data) {
    auto& run = *static_cast<TOverflowRun*>(data);
    pthread_attr_t attributes;
    void* lowest = nullptr;
    std::size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0)
        return nullptr;
    pthread_attr_getstack(&attributes, &lowest, &size);
    pthread_attr_destroy(&attributes);
    run.Limit = reinterpret_cast<std::uintptr_t>(lowest) + OverflowStackRest;
    OverflowRecursion(run);
    run.Sites.Ran = true;
    asm volatile("" ::: "memory");
    return nullptr;
}

// Runs the body in the deepest call of a recursion that fills a new thread's 8 MB stack, and
// waits for it.
inline TOverflowSites RunInOverflowedStack(std::function<void()> body) {
    const auto run = std::make_unique<TOverflowRun>();
    run->Body = std::move(body);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, OverflowStackSize);
    pthread_t thread;
    if (pthread_create(&thread, &attributes, &OverflowThreadEntry, run.get()) == 0)
        pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    return run->Sites;
}

// How a walk of the overflowed stack lists the recursion.
struct TOverflowListing {
    std::size_t RecursionLines = 0;    // the lines of the recursion's call of itself
    bool EntryAfterRecursion = false;  // the thread's entry is listed outside the recursion
};

inline TOverflowListing ListingOf(const TStackTraceResult& result, const TOverflowSites& sites) {
    constexpr std::uintptr_t CallLength = 5;  // a call with a 32-bit displacement
    const auto intoRecursion = [&](const TStackItem& item) {
        return item.CodeAddress + CallLength == sites.IntoRecursion;
    };
    const auto recursion = std::find_if(result.Items.begin(), result.Items.end(), intoRecursion);
    TOverflowListing listing;
    listing.RecursionLines = static_cast<std::size_t>(
        std::count_if(result.Items.begin(), result.Items.end(), intoRecursion));
    listing.EntryAfterRecursion =
        std::find_if(recursion, result.Items.end(), [](const TStackItem& item) {
            return item.ProcedureName.find("OverflowThreadEntry") != std::string::npos;
        }) != result.Items.end();
    return listing;
}

}  // namespace kestrix
