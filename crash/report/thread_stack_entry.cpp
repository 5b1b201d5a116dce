// \brief Thread-stack entries from the failure, from captured contexts and from the registry.
#include "crash/report/thread_stack_entry.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "crash/core/ikx_exception.h"
#include "crash/report/process_threads.h"
#include "crash/report/thread_section_texts.h"
#include "crash/stack/stack_addr_to_str.h"
#include "crash/threads/thread_context_capture.h"
#include "crash/threads/thread_pausing.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

// A thread that does not answer the capture (one that blocks signals) must not hold the report
// up for long: the whole report has a budget of a few hundred milliseconds.
constexpr std::chrono::milliseconds CaptureTimeout{200};
// The longest x86-64 instruction: a call ends at most this far behind its start.
constexpr std::uintptr_t LongestInstruction = 15;

bool HasClass(const IKXException& exception, std::string_view className) {
    const auto& names = exception.ClassNames();
    return std::find(names.begin(), names.end(), className) != names.end();
}

void SetCreator(TThreadStackEntry& entry) {
    for (const ThreadEntry& registered : RegisteredThreads()) {
        if (registered.Id == entry.Thread && registered.CreatorAddress != nullptr) {
            entry.CreatorAddress = reinterpret_cast<std::uintptr_t>(registered.CreatorAddress);
            entry.CreatorThread = registered.CreatorThread;
        }
    }
}

// Whether the walk's last line is the creation address, after which the creator line goes.
bool EndsAtCreator(const TThreadStackEntry& entry, const TStackTraceResult& trace) {
    if (entry.CreatorAddress == 0 || trace.Items.empty())
        return false;
    const std::uintptr_t last = trace.Items.back().CodeAddress;
    return last <= entry.CreatorAddress && entry.CreatorAddress - last <= LongestInstruction;
}

}  // namespace

std::string ThreadStackTitle(ThreadId thread) {
    const std::optional<TThreadState> state = ThreadStateOf(thread);
    const bool suspended = ThreadIsPaused(thread) || (state && state->Stopped);
    return ThreadSectionName(ThreadDisplayText(thread), suspended,
                             state ? state->Priority : std::nullopt);
}

TThreadStackEntry CrashedThreadStackEntry(const IKXException& exception) {
    TThreadStackEntry entry;
    entry.Thread = exception.CrashedThread();
    entry.Title = ThreadStackTitle(entry.Thread);
    entry.LocationAddress = exception.ExceptAddress();
    entry.Crashed = true;
    entry.IsException = exception.ExceptType() != etFrozen;
    entry.OsFault = HasClass(exception, "EExternal");
    entry.Terminate = exception.Source() == esBcbAbnormalProgramTermination ||
                      HasClass(exception, "BcbTermination");
    entry.PreparedStack = exception.PreparedStack();
    entry.StackLow = exception.StackPointer();
    entry.StackHigh = exception.StackTop();
    entry.FramePointer = exception.FramePointer();
    entry.Accessible =
        entry.PreparedStack != nullptr || (entry.StackLow != 0 && entry.StackLow < entry.StackHigh);
    SetCreator(entry);
    return entry;
}

[[gnu::noinline]] TThreadStackEntry OtherThreadStackEntry(ThreadId thread) {
    TThreadStackEntry entry;
    entry.Thread = thread;
    entry.Title = ThreadStackTitle(thread);
    SetCreator(entry);
    if (thread == CurrentThreadId()) {
        entry.Current = true;
        entry.Accessible = true;
        entry.LocationAddress = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
        return entry;
    }
    if (const std::optional<CapturedThreadContext> context =
            CaptureThreadContext(thread, CaptureTimeout)) {
        entry.LocationAddress = context->InstructionPointer;
        entry.StackLow = context->StackPointer;
        entry.StackHigh = context->StackTop;
        entry.FramePointer = context->FramePointer;
        entry.Accessible = context->StackPointer >= context->StackBottom &&
                           context->StackPointer < context->StackTop;
    }
    return entry;
}

std::string LocationLine(const TThreadStackEntry& entry, const TTraceOptions& options) {
    return StackAddrToStr(entry.LocationAddress, options.ShowRelAddrs, options.ShowRelLines);
}

TStackTraceResult TraceThreadStack(const TThreadStackEntry& entry,
                                   const TTraceOptions& options,
                                   const std::atomic<bool>* abortFlag) {
    if (!entry.Accessible)
        return {};
    TStackTraceParams params;
    params.HideUglyItems = options.HideUglyItems;
    params.ShowRelAddrs = options.ShowRelAddrs;
    params.ShowRelLines = options.ShowRelLines;
    if (entry.LocationAddress != 0)
        params.CurrentAddress = entry.LocationAddress;
    params.IsException = entry.IsException;
    params.IsOsFault = entry.OsFault;
    params.TerminateTrace = entry.Terminate;
    params.CreatorAddress = entry.CreatorAddress;
    params.DumbTrace = DumbStackTrace.load();
    params.AbortFlag = abortFlag;
    if (entry.PreparedStack) {
        params.PreparedStack = entry.PreparedStack.get();
    } else if (!entry.Current) {
        params.StackBottom = entry.StackLow;
        params.StackTop = entry.StackHigh;
        params.FramePointer = entry.FramePointer;
    }
    return StackTrace(params);
}

std::string ThreadSectionContent(const TThreadStackEntry& entry,
                                 const TStackTraceResult& trace,
                                 const TTraceOptions& options) {
    if (trace.Text.empty())
        return StackNotAccessibleText(entry.Crashed, LocationLine(entry, options));
    if (EndsAtCreator(entry, trace))
        return WithCreatorLine(trace.Text, ThreadDisplayText(entry.CreatorThread));
    return trace.Text;
}

}  // namespace kestrix
