// \brief The report state of one failure: the header and section lists, the rendered text with its
// modification counter, the complete flag, the completion thread, the three call-stack checksums
// and one thread-stack entry per listed thread.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "crash/core/completion.h"
#include "crash/report/bug_report_plugins.h"
#include "crash/report/report_sections.h"
#include "crash/report/report_text_cache.h"
#include "crash/report/thread_stack_entry.h"
#include "crash/settings/ikx_fields.h"

namespace kestrix {

struct TReportState {
    TReportState();
    ~TReportState();
    TReportState(const TReportState&) = delete;
    TReportState& operator=(const TReportState&) = delete;

    std::shared_ptr<IKXFields> Header = NewFields();
    std::shared_ptr<IKXFields> Sections = NewFields();
    TReportTextCache TextCache;

    // Set once every section has been filled and "callstack crc" holds the checksums.
    std::atomic<bool> Complete{false};
    // Set when the completion has ended, complete or stopped by the abort flag.
    Completion CompletionEnded;
    std::atomic<bool> AbortFlag{false};
    // The thread that fills the sections; 0 until it has started.
    std::atomic<ThreadId> CompletionThread{0};
    // Sections still to be filled: the countdown to the complete report.
    std::atomic<std::size_t> Pending{0};
    // epCompleteReport is entered once.
    std::atomic<bool> CompletePhaseEntered{false};

    // What the sections were created for: the completion fills exactly these.
    TSectionPlan Plan;
    std::vector<TBugReportPlugin> PluginSections;

    mutable std::mutex Guard;
    std::array<std::uint32_t, 3> Checksums{};
    std::vector<TThreadStackEntry> ThreadStacks;
};

}  // namespace kestrix
