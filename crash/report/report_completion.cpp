// \brief The report's creation and the fill order of its completion.
#include "crash/report/report_completion.h"

#include <filesystem>
#include <span>
#include <string>

#include "crash/core/handler_registry.h"
#include "crash/core/ikx_exception.h"
#include "crash/core/reporter_runtime.h"
#include "crash/report/bug_report_plugins.h"
#include "crash/report/cpu_registers.h"
#include "crash/report/disassembly.h"
#include "crash/report/failure_header_values.h"
#include "crash/report/guarded_part.h"
#include "crash/report/header_field_texts.h"
#include "crash/report/process_threads.h"
#include "crash/report/report_header.h"
#include "crash/report/report_sections.h"
#include "crash/report/stack_dump.h"
#include "crash/stack/call_stack_checksums.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

// The handler thread and the freeze watchdog: registered under the reporter's name.
std::vector<ThreadId> ReporterThreads() {
    std::vector<ThreadId> threads;
    for (const ThreadEntry& entry : RegisteredThreads()) {
        if (entry.Name == ReporterThreadName)
            threads.push_back(entry.Id);
    }
    return threads;
}

std::vector<TThreadStackEntry> ListedThreadStacks(const IKXException& exception) {
    const std::vector<ThreadId> threads =
        ReportThreads(exception.CrashedThread(), MainThreadId(), exception.ExceptType() == etFrozen,
                      exception.ListThreads(), ProcessThreads(), ReporterThreads());
    std::vector<TThreadStackEntry> entries{CrashedThreadStackEntry(exception)};
    for (std::size_t i = 1; i < threads.size(); ++i)
        entries.push_back(OtherThreadStackEntry(threads[i]));
    return entries;
}

std::vector<TBugReportPlugin> PluginSectionsOf(const IKXException& exception) {
    std::vector<TBugReportPlugin> plugins = SelectedBugReportPlugins(exception.Plugins());
    std::erase_if(plugins, [](const TBugReportPlugin& plugin) { return !plugin.OwnSection; });
    return plugins;
}

TSectionPlan PlanOf(const IKXException& exception,
                    const std::vector<TThreadStackEntry>& threads,
                    const std::vector<TBugReportPlugin>& plugins,
                    const TTraceOptions& options) {
    TSectionPlan plan;
    for (const TThreadStackEntry& entry : threads)
        plan.Threads.push_back({entry.Title, LocationLine(entry, options)});
    for (const TBugReportPlugin& plugin : plugins)
        plan.PluginSections.push_back(plugin.Name);
    const bool context = exception.Context().has_value();
    plan.CpuRegisters = exception.CpuRegs() && context;
    plan.StackDump = exception.StackDump() && context;
    plan.Disassembling = exception.ShowDisAsm();
    return plan;
}

std::size_t SectionCount(const TSectionPlan& plan) {
    return plan.Threads.size() + plan.PluginSections.size() + (plan.CpuRegisters ? 1 : 0) +
           (plan.StackDump ? 1 : 0) + (plan.Disassembling ? 1 : 0);
}

// The fill of one report's sections, with the countdown to its completion.
class Completer {
  public:
    Completer(const std::shared_ptr<IKXException>& exception,
              TReportState& state,
              const std::function<void()>& afterSection)
        : m_exception(exception),
          m_state(state),
          m_afterSection(afterSection),
          m_options(TraceOptionsOf(*exception)) {
        const std::lock_guard lock(state.Guard);
        m_threads = state.ThreadStacks;
    }

    void Run() {
        if (m_threads.empty())
            return;
        const TStackTraceResult first = FillThread(m_threads.front(), true);
        const TSectionPlan& plan = m_state.Plan;
        if (plan.CpuRegisters)
            Fill(CpuRegistersSection, Guarded("GetCpuRegisters", [&] {
                     return GetCpuRegisters(
                         std::span<const greg_t, NGREG>(m_exception->Context()->Registers));
                 }));
        if (plan.StackDump)
            Fill(StackDumpSection, Guarded("GetStackDump", [&] {
                     return GetStackDump(
                         static_cast<std::uintptr_t>(m_exception->Context()->Registers[REG_RSP]));
                 }));
        if (plan.Disassembling)
            Fill(DisassemblingSection, Guarded("GetCleartextDisAsm", [&] {
                     const TDisAsmOptions options{m_exception->FormatDisAsm(),
                                                  m_exception->LimitDisAsm()};
                     return GetCleartextDisAsm(first.ProcedureStart, first.ProcedureItemAddress,
                                               options);
                 }));
        for (const TBugReportPlugin& plugin : m_state.PluginSections)
            Fill(plugin.Name, BugReportPluginText(plugin, m_exception, m_options.ShowRelAddrs,
                                                  m_options.ShowRelLines));
        for (std::size_t i = 1; i < m_threads.size(); ++i)
            FillThread(m_threads[i], false);
    }

  private:
    std::string Guarded(std::string_view part, const std::function<std::string()>& produce) const {
        return GuardedPartText(part, produce, m_options.ShowRelAddrs, m_options.ShowRelLines);
    }

    // The first thread's stack gives checksums 1 and 2 and starts checksum 3, which takes each
    // further thread in as soon as its stack is known, so that it is final when the last section
    // is filled.
    TStackTraceResult FillThread(const TThreadStackEntry& entry, bool first) {
        TStackTraceResult trace;
        if (m_state.AbortFlag.load())
            return trace;
        const std::string content = Guarded("GetThreadReport", [&] {
            const std::string failedWalk = Guarded("GetThreadStack", [&] {
                trace = TraceThreadStack(entry, m_options, &m_state.AbortFlag);
                return std::string();
            });
            return failedWalk.empty() ? ThreadSectionContent(entry, trace, m_options) : failedWalk;
        });
        AddMinimalDebugInfoFields(trace);
        if (first)
            m_checksums = {trace.Checksum1, trace.Checksum2, trace.Checksum2};
        else
            m_checksums[2] = ExtendAllStacksChecksum(m_checksums[2], trace.Items);
        Fill(entry.Title, content);
        return trace;
    }

    // "<module>.kes" with the identification of its full debug information.
    void AddMinimalDebugInfoFields(const TStackTraceResult& trace) {
        for (const std::string& module : trace.MinimalDebugInfo) {
            const std::size_t separator = module.find('|');
            if (separator == std::string::npos)
                continue;
            const std::string file =
                std::filesystem::path(module.substr(0, separator)).filename().string();
            m_state.Header->SetContent(file + ".kes", module.substr(separator + 1));
        }
    }

    void Fill(std::string_view section, const std::string& content) {
        if (m_state.AbortFlag.load())
            return;
        m_state.Sections->SetContent(section, content);
        if (--m_state.Pending == 0)
            Finish();
        if (m_afterSection)
            m_afterSection();
    }

    void Finish() {
        {
            const std::lock_guard lock(m_state.Guard);
            m_state.Checksums = m_checksums;
        }
        m_state.Header->SetContent(
            CallstackCrcField, CallstackCrcText(m_checksums[0], m_checksums[1], m_checksums[2]));
        m_state.Complete = true;
        // Waiters go on now: the phase's handlers below may ask for the complete text themselves.
        m_state.CompletionEnded.Set();
        EnterCompleteReportPhase(*m_exception, m_state);
    }

    const std::shared_ptr<IKXException>& m_exception;
    TReportState& m_state;
    const std::function<void()>& m_afterSection;
    const TTraceOptions m_options;
    std::vector<TThreadStackEntry> m_threads;
    std::array<std::uint32_t, 3> m_checksums{};
};

}  // namespace

TTraceOptions TraceOptionsOf(const IKXException& exception) {
    return {exception.HideUglyItems(), exception.ShowRelAddrs(), exception.ShowRelLines()};
}

void CreateReport(const std::shared_ptr<IKXException>& exception, TReportState& state) {
    FillReportHeader(*state.Header, FailureHeaderValues(exception));
    const TTraceOptions options = TraceOptionsOf(*exception);
    std::vector<TThreadStackEntry> threads = ListedThreadStacks(*exception);
    std::vector<TBugReportPlugin> plugins = PluginSectionsOf(*exception);
    TSectionPlan plan = PlanOf(*exception, threads, plugins, options);
    state.Pending = SectionCount(plan);
    CreateReportSections(*state.Sections, plan);
    const std::lock_guard lock(state.Guard);
    state.ThreadStacks = std::move(threads);
    state.PluginSections = std::move(plugins);
    state.Plan = std::move(plan);
}

void CompleteReport(const std::shared_ptr<IKXException>& exception,
                    TReportState& state,
                    const std::function<void()>& afterSection) {
    try {
        Completer(exception, state, afterSection).Run();
    } catch (...) {
        // Each part is guarded; what is left (the lists themselves failing) ends the completion.
    }
    state.CompletionEnded.Set();
}

void EnterCompleteReportPhase(IKXException& exception, TReportState& state) {
    if (!state.Complete.load() || exception.Phase() != epPostProcessing ||
        state.CompletePhaseEntered.exchange(true))
        return;
    exception.SetPhase(epCompleteReport);
    const ReporterRuntime* reporter = RunningReporter();
    CallExceptionHandlers(exception, epCompleteReport, false,
                          reporter != nullptr ? reporter->Caller : nullptr);
}

}  // namespace kestrix
