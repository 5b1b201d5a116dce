// \brief The order of the sections and their placeholders.
#include "crash/report/report_sections.h"

#include <algorithm>

#include "crash/report/report_placeholders.h"

namespace kestrix {

std::vector<pid_t> ReportThreads(pid_t crashedThread,
                                 pid_t mainThread,
                                 bool frozen,
                                 bool listThreads,
                                 const std::vector<pid_t>& processThreads,
                                 const std::vector<pid_t>& reporterThreads) {
    std::vector<pid_t> threads{frozen ? mainThread : crashedThread};
    if (!frozen && mainThread != crashedThread)
        threads.push_back(mainThread);
    if (!listThreads)
        return threads;
    const auto contains = [](const std::vector<pid_t>& list, pid_t thread) {
        return std::find(list.begin(), list.end(), thread) != list.end();
    };
    for (const pid_t thread : processThreads) {
        if (!contains(threads, thread) && !contains(reporterThreads, thread))
            threads.push_back(thread);
    }
    return threads;
}

void CreateReportSections(IKXFields& sections, const TSectionPlan& plan) {
    for (const TThreadSectionPlan& thread : plan.Threads)
        sections.SetContent(thread.Name, ThreadSectionPlaceholder(thread.LocationLine));
    for (const std::string& plugin : plan.PluginSections)
        sections.SetContent(plugin, SectionPlaceholder);
    if (plan.CpuRegisters)
        sections.SetContent(CpuRegistersSection, SectionPlaceholder);
    if (plan.StackDump)
        sections.SetContent(StackDumpSection, SectionPlaceholder);
    if (plan.Disassembling)
        sections.SetContent(DisassemblingSection, SectionPlaceholder);
}

}  // namespace kestrix
