// \brief The report's sections in their order, each with its placeholder until the completion
// fills it: the threads, the plug-ins with a section of their own, "cpu registers", "stack dump"
// and "disassembling".
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "crash/settings/ikx_fields.h"

namespace kestrix {

// The threads whose sections the report lists, in order: for a frozen program the main thread;
// otherwise the crashed thread, then the main thread when it is another one. With listThreads
// every other thread follows in the system's order, except the reporter's own (its handler thread
// and freeze watchdog).
std::vector<pid_t> ReportThreads(pid_t crashedThread,
                                 pid_t mainThread,
                                 bool frozen,
                                 bool listThreads,
                                 const std::vector<pid_t>& processThreads,
                                 const std::vector<pid_t>& reporterThreads);

struct TThreadSectionPlan {
    std::string Name;          // the section's name
    std::string LocationLine;  // the address text of its location
};

struct TSectionPlan {
    std::vector<TThreadSectionPlan> Threads;  // in the order of ReportThreads
    std::vector<std::string> PluginSections;  // in the order of `Plugins`
    bool CpuRegisters = false;                // `CpuRegs` set and a CPU context exists
    bool StackDump = false;                   // `StackDump` set and a CPU context exists
    bool Disassembling = false;               // `ShowDisAsm` set
};

inline constexpr const char* CpuRegistersSection = "cpu registers";
inline constexpr const char* StackDumpSection = "stack dump";
inline constexpr const char* DisassemblingSection = "disassembling";

// Fills an empty section list with the planned sections and their placeholders.
void CreateReportSections(IKXFields& sections, const TSectionPlan& plan);

}  // namespace kestrix
