// \brief The stack walker on a 30-deep stack of this program's own optimised code: the first walk
// of the process (which analyses every procedure on the stack), the walks after it, and the
// raise-time capture of the same stack. Each frame of the chain holds
// a few slots of locals, so the stack spans a few kilobytes; the walk must find all 30 calls.
#include <benchmark/benchmark.h>
#include <link.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "crash/stack/guarded_read.h"
#include "crash/stack/module_cache.h"
#include "crash/stack/prepare_stack_trace.h"
#include "crash/stack/stack_trace.h"

namespace {

using namespace kestrix;

constexpr int StackDepth = 30;

using BenchmarkBody = void (*)(benchmark::State&);

volatile std::uintptr_t LocalsSeen = 0;

// One frame of the chain: locals that fill slots with numbers and pointers, then the next call.
template <int Depth>
[[gnu::noinline]] void CallDown(benchmark::State& state, BenchmarkBody body) {
    volatile std::uintptr_t locals[12];
    for (std::uintptr_t i = 0; i < 12; ++i)
        locals[i] = i * Depth + reinterpret_cast<std::uintptr_t>(&state);
    if constexpr (Depth == 1)
        body(state);
    else
        CallDown<Depth - 1>(state, body);
    LocalsSeen = LocalsSeen + locals[Depth % 12];
}

TStackTraceParams GatoolParams() {
    TStackTraceParams params;
    params.HideUglyItems = false;
    params.ShowRelAddrs = true;
    params.ShowRelLines = true;
    return params;
}

// The kilobytes of stack from here up to the thread's stack base: what a walk from here reads.
double StackKilobytesAbove() {
    const auto bounds = CurrentThreadStackBounds();
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    return bounds ? static_cast<double>(bounds->Top - here) / 1024 : 0;
}

bool ListsTheWholeChain(const TStackTraceResult& result) {
    int calls = 0;
    for (const TStackItem& item : result.Items)
        calls += item.ProcedureName.find("CallDown<") != std::string::npos ? 1 : 0;
    return calls == StackDepth;
}

void Walk(benchmark::State& state) {
    TStackTraceResult result;
    for (auto _ : state) {
        result = StackTrace(GatoolParams());
        benchmark::DoNotOptimize(result);
    }
    if (!ListsTheWholeChain(result))
        state.SkipWithError("the walk did not list all 30 calls of the chain");
    state.counters["items"] = static_cast<double>(result.Items.size());
    state.counters["stack_kb"] = StackKilobytesAbove();
}

void Capture(benchmark::State& state) {
    TDAPreStackItem items;
    for (auto _ : state) {
        PrepareStackTrace(reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)),
                          std::nullopt, std::nullopt, items);
        benchmark::DoNotOptimize(items);
    }
    state.counters["items"] = static_cast<double>(items.size());
    state.counters["stack_kb"] = StackKilobytesAbove();
}

// Puts every module of the process into the module cache, with its debug information; returns
// the milliseconds that took.
double LoadEveryModule() {
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::uintptr_t> loadAddresses;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* addresses) {
            for (std::size_t i = 0; i < info->dlpi_phnum; ++i) {
                if (info->dlpi_phdr[i].p_type == PT_LOAD) {
                    static_cast<std::vector<std::uintptr_t>*>(addresses)->push_back(
                        info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
                    break;
                }
            }
            return 0;
        },
        &loadAddresses);
    for (const std::uintptr_t address : loadAddresses)
        FindModule(address);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The first walk of the process: registered first and run once, so that no procedure has been
// analysed before it. The modules' debug information is loaded before, untimed (its load is
// the debug-information benchmark's); the counter load_ms says how long that took.
void BM_StackTraceFirstWalk(benchmark::State& state) {
    StartTryRead();
    state.counters["load_ms"] = LoadEveryModule();
    CallDown<StackDepth>(state, Walk);
}
BENCHMARK(BM_StackTraceFirstWalk)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_StackTrace(benchmark::State& state) {
    CallDown<StackDepth>(state, Walk);
}
BENCHMARK(BM_StackTrace)->Unit(benchmark::kMillisecond);

void BM_PrepareStackTrace(benchmark::State& state) {
    StartTryRead();
    CallDown<StackDepth>(state, Capture);
}
BENCHMARK(BM_PrepareStackTrace)->Unit(benchmark::kMicrosecond);

}  // namespace
