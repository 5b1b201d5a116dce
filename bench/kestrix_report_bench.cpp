// \brief The bug report: from a failure to its complete report in a process of ten threads, and
// its pieces: rendering a report of realistic size (ten thread sections and the three lists), the
// header, each list plug-in, the stack dump and the disassembly of compiled code.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "crash/report/bug_report.h"
#include "crash/report/bug_report_plugins.h"
#include "crash/report/disassembly.h"
#include "crash/report/report_header.h"
#include "crash/report/report_rendering.h"
#include "crash/report/stack_dump.h"
#include "crash/threads/thread_registry.h"
#include "tests/crash/report/failure_scene.h"

namespace {

using namespace kestrix;

// A thread section of 30 call-stack lines in the report's columns.
std::string ThreadStack(int thread) {
    std::string text;
    for (int line = 0; line < 30; ++line) {
        if (line > 0)
            text += "\r\n";
        text += "000055555555" + std::to_string(1000 + thread * 30 + line) +
                " gatool     main_window.cpp   " + std::to_string(100 + line) +
                "  TMainForm::LoadGAClick(QString const&)";
    }
    return text;
}

void BM_RenderBugReport(benchmark::State& state) {
    const auto header = NewFields();
    for (int i = 0; i < 25; ++i)
        header->SetContent("header field " + std::to_string(i), "content\r\nwith a line break");
    const auto sections = NewFields();
    for (int thread = 0; thread < 10; ++thread)
        sections->SetContent("thread $" + std::to_string(thread), ThreadStack(thread));
    for (const TBugReportPlugin& plugin :
         SelectedBugReportPlugins({"modules", "processes", "hardware"}))
        sections->SetContent(plugin.Name, BugReportPluginText(plugin, nullptr, false, false));
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderBugReport(*header, *sections));
}
BENCHMARK(BM_RenderBugReport)->Unit(benchmark::kMicrosecond);

// The header with every fact of the system read anew.
void BM_FillReportHeader(benchmark::State& state) {
    THeaderValues values;
    values.ExceptionClass = "EZeroDivide";
    values.ExceptionMessage = "Floating point division by zero";
    for (auto _ : state) {
        const auto header = NewFields();
        FillReportHeader(*header, values);
        benchmark::DoNotOptimize(header->Count());
    }
}
BENCHMARK(BM_FillReportHeader)->Unit(benchmark::kMicrosecond);

// One of the list plug-ins, as the report's completion calls it.
void BM_ListPlugin(benchmark::State& state, const char* name) {
    const auto plugins = SelectedBugReportPlugins({name});
    if (plugins.empty()) {
        state.SkipWithError("the plug-in is not registered");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(BugReportPluginText(plugins.front(), nullptr, false, false));
}
BENCHMARK_CAPTURE(BM_ListPlugin, modules, "modules")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ListPlugin, processes, "processes")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListPlugin, hardware, "hardware")->Unit(benchmark::kMillisecond);

void BM_StackDump(benchmark::State& state) {
    volatile int marker = 0;
    const auto stackPointer = reinterpret_cast<std::uintptr_t>(&marker);
    for (auto _ : state)
        benchmark::DoNotOptimize(GetStackDump(stackPointer));
}
BENCHMARK(BM_StackDump)->Unit(benchmark::kMicrosecond);

// The disassembly of a procedure of this program with its comments and line numbers, once its
// debug information is loaded.
void BM_Disassembly(benchmark::State& state) {
    const auto entry = reinterpret_cast<std::uintptr_t>(&RenderBugReport);
    const TDisAsmOptions options{true, 5};
    benchmark::DoNotOptimize(GetCleartextDisAsm(entry, entry, options));
    for (auto _ : state)
        benchmark::DoNotOptimize(GetCleartextDisAsm(entry, entry, options));
}
BENCHMARK(BM_Disassembly)->Unit(benchmark::kMicrosecond);

// From the caught exception to the complete report, filled by its completion thread, with the
// main thread and nine others waiting: every thread's stack, the registers, the stack dump, the
// disassembly and the three lists.
void BM_FailureToCompleteReport(benchmark::State& state) {
    JoinThreadRegistry();
    const test::WaitingThreads others(9);
    for (auto _ : state) {
        const auto report =
            StartBugReport(test::CaughtTestFailure(), TCompletionPlace::cpOwnThread);
        benchmark::DoNotOptimize(report->Text(true));
        if (!report->IsComplete()) {
            state.SkipWithError("the report did not complete");
            break;
        }
    }
    LeaveThreadRegistry();
}
BENCHMARK(BM_FailureToCompleteReport)->Unit(benchmark::kMillisecond);

}  // namespace
