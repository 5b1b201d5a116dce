// \brief The probe points: each walks a stack with StackTrace, with the reporter's settings of
// this program, and prints the listed frames on standard output, one per line:
//
//   item <TAB> offset <TAB> line <TAB> module <TAB> procedure
//
// where offset is the code address relative to this program's load address ("-" for an address
// outside it), then the walk's text, each line behind "text" and a TAB.
#include "tests/crash/stack/crash_suite/probe_point.h"

#include <dlfcn.h>
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdio>
#include <string_view>

#include "crash/stack/stack_trace.h"
#include "tests/crash/stack/crash_suite/raise_time_stack.h"

namespace suite_probe {
namespace {

using namespace kestrix;

std::uintptr_t ProgramBase() {
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&ProbePoint), &info);
    return reinterpret_cast<std::uintptr_t>(info.dli_fbase);
}

void PrintWalk(TStackTraceParams params) {
    // The reporter's settings of gatool: ugly items shown, relative addresses and lines.
    params.HideUglyItems = false;
    params.ShowRelAddrs = true;
    params.ShowRelLines = true;
    params.DumbTrace = DumbStackTrace;
    const TStackTraceResult result = StackTrace(params);
    const std::uintptr_t base = ProgramBase();
    for (const TStackItem& item : result.Items) {
        Dl_info info{};
        const bool inProgram = dladdr(reinterpret_cast<void*>(item.CodeAddress), &info) != 0 &&
                               reinterpret_cast<std::uintptr_t>(info.dli_fbase) == base;
        if (inProgram)
            std::printf("item\t%zx\t", static_cast<std::size_t>(item.CodeAddress - base));
        else
            std::printf("item\t-\t");
        std::printf("%d\t%s\t%s\n", item.Line, item.ModuleFileName.c_str(),
                    item.ProcedureName.c_str());
    }
    std::string_view text = result.Text;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        const std::string_view line = text.substr(0, end);
        std::printf("text\t%.*s\n", static_cast<int>(line.size()), line.data());
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
    }
    std::fflush(stdout);
}

std::uintptr_t StackTopOfThisThread() {
    const auto bounds = CurrentThreadStackBounds();
    return bounds ? bounds->Top : 0;
}

// Walks the interrupted code's stack from the fault's registers, as the reporter does for an
// operating-system fault. The faults of the suite happen at places the scenarios choose, with no
// lock held, so the walk may run in the handler itself.
[[gnu::noinline]] void ProbeFault(const ucontext_t& context) {
    const greg_t* registers = context.uc_mcontext.gregs;
    TStackTraceParams params;
    params.IsException = true;
    params.IsOsFault = true;
    params.CurrentAddress = static_cast<std::uintptr_t>(registers[REG_RIP]);
    params.StackBottom = static_cast<std::uintptr_t>(registers[REG_RSP]);
    params.StackTop = StackTopOfThisThread();
    params.FramePointer = static_cast<std::uintptr_t>(registers[REG_RBP]);
    PrintWalk(params);
}

void OnFault(int, siginfo_t*, void* context) {
    ProbeFault(*static_cast<const ucontext_t*>(context));
    _exit(0);
}

}  // namespace

void ProbePoint() {
    // The probe's own frame starts the frame chain; above it the chain is whatever the optimised
    // callers left in the frame-pointer register.
    TStackTraceParams params;
    params.FramePointer = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    PrintWalk(params);
}

void ProbePointWithFramePointer(std::uintptr_t framePointer) {
    TStackTraceParams params;
    params.FramePointer = framePointer;
    PrintWalk(params);
}

void InstallFaultProbe() {
    struct sigaction action {};
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGSEGV, &action, nullptr);
}

void PrintRaiseTimeWalk() {
    const TRaiseTimeStack& raised = LastRaiseTimeStack();
    TStackTraceParams params;
    params.IsException = true;
    params.CurrentAddress = raised.ThrowAddress;
    params.PreparedStack = &raised.Items;
    PrintWalk(params);
}

}  // namespace suite_probe
