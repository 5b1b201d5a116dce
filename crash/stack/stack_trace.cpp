// \brief StackTrace: the seven phases in order, each under its own guard.
#include "crash/stack/stack_trace.h"

#include <array>
#include <string_view>

#include "crash/stack/chain_realisation.h"
#include "crash/stack/collect_stack_items.h"
#include "crash/stack/compose_result.h"
#include "crash/stack/deep_check.h"
#include "crash/stack/final_output.h"
#include "crash/stack/guarded_read.h"
#include "crash/stack/stack_addr_to_str.h"
#include "crash/stack/stack_recursion.h"
#include "crash/stack/stack_walk.h"

namespace kestrix {
namespace {

struct TPhase {
    std::string_view Name;
    void (*Run)(TStackWalk&);
};

constexpr std::array<TPhase, 7> Phases{{
    {"CollectPossibleStackItems", &CollectPossibleStackItems},
    {"RemoveRecursiveStackAreas", &RemoveRecursiveStackAreas},
    {"InDeepChecks", &InDeepChecks},
    {"RealizeOptimalLinkChains", &RealizeOptimalLinkChains},
    {"RemoveRecursiveAreas", &RemoveRecursiveAreas},
    {"FillFinalOutput", &FillFinalOutput},
    {"ComposeResult", &ComposeResult},
}};

std::string InternalErrorText(const TPhase& phase, const TStackWalk& walk) {
    const TStackTraceParams& params = walk.Params;
    // The phase's own code is the place that failed: its address text names it.
    std::string text = InternalErrorAt(phase.Name, reinterpret_cast<std::uintptr_t>(phase.Run),
                                       params.ShowRelAddrs, params.ShowRelLines);
    if (params.IsException) {
        text += "\r\n>> original exception location: \r\n" +
                StackAddrToStr(walk.CurrentAddress.value_or(0), params.ShowRelAddrs,
                               params.ShowRelLines);
    }
    return text;
}

TStackTraceResult RunPhases(TStackWalk& walk) {
    for (const TPhase& phase : Phases) {
        const bool realisation = phase.Run == &RealizeOptimalLinkChains;
        try {
            if (!(realisation && walk.Params.DumbTrace))
                phase.Run(walk);
        } catch (const TTraceAborted&) {
            return std::move(walk.Result);
        } catch (...) {
            TStackTraceResult failed;
            failed.Text = InternalErrorText(phase, walk);
            return failed;
        }
        if (realisation)
            walk.Progress(1000);
    }
    return std::move(walk.Result);
}

}  // namespace

TStackTraceResult StackTrace(const TStackTraceParams& params) {
    // The defaults stand for the caller: its stack from where it made this call, and the address
    // it returns to.
    const auto frame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    const auto returnAddress = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    if (!StartTryRead())
        return {};
    std::optional<std::uintptr_t> stackTop = params.StackTop;
    if (!stackTop) {
        const auto bounds = CurrentThreadStackBounds();
        if (!bounds)
            return {};
        stackTop = bounds->Top;
    }
    const std::uintptr_t bottom = (params.StackBottom.value_or(frame + 2 * sizeof(std::uintptr_t)) +
                                   sizeof(std::uintptr_t) - 1) &
                                  ~(sizeof(std::uintptr_t) - 1);
    const std::uintptr_t top = *stackTop & ~(sizeof(std::uintptr_t) - 1);
    if (bottom >= top)
        return {};
    std::optional<std::uintptr_t> currentAddress = params.CurrentAddress;
    if (!currentAddress && !params.IsException)
        currentAddress = returnAddress;

    TStackWalk walk(params, currentAddress, bottom, top, ProcessProcedureTable());
    if (!walk.ReadStack())
        return {};
    return RunPhases(walk);
}

}  // namespace kestrix
