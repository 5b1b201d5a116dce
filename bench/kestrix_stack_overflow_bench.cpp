// \brief The stack walker on the stack of a thread that overflowed: a recursion fills its 8 MB
// stack (about a hundred thousand calls) and the walk runs in the deepest call, over the whole
// stack, without a frame pointer (argument 0) and with the deepest call's (1), through which the
// chain goes on as far as the register's values lead. The walk must list the recursion's call
// once and reach the thread's entry.
#include <benchmark/benchmark.h>

#include "crash/stack/guarded_read.h"
#include "crash/stack/stack_trace.h"
#include "tests/crash/stack/overflowed_stack.h"

namespace {

using namespace kestrix;

void BM_StackTraceOfAnOverflowedStack(benchmark::State& state) {
    StartTryRead();
    TStackTraceParams params;
    params.HideUglyItems = false;
    params.ShowRelAddrs = true;
    params.ShowRelLines = true;
    TStackTraceResult result;
    const TOverflowSites sites = RunInOverflowedStack([&] {
        if (state.range(0) != 0)
            params.FramePointer = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
        for (auto _ : state) {
            result = StackTrace(params);
            benchmark::DoNotOptimize(result);
        }
    });
    const TOverflowListing listing = ListingOf(result, sites);
    if (!sites.Ran || listing.RecursionLines != 1 || !listing.EntryAfterRecursion)
        state.SkipWithError("the walk did not list the recursion once up to the thread's entry");
    state.counters["depth"] = static_cast<double>(sites.Depth);
    state.counters["items"] = static_cast<double>(result.Items.size());
}
BENCHMARK(BM_StackTraceOfAnOverflowedStack)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
