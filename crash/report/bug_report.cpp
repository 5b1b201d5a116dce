// \brief The bug report, its completion thread and the wait for it.
#include "crash/report/bug_report.h"

#include <sys/resource.h>

#include <chrono>
#include <thread>

#include "crash/core/ikx_exception.h"
#include "crash/core/minimal_report.h"
#include "crash/core/reporter_runtime.h"
#include "crash/report/report_completion.h"
#include "crash/report/report_wait_window.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

// Nice values of the completion thread: above normal while it runs, the highest while a reader
// waits for it. Raising a priority needs the right to; without it the thread keeps its own.
constexpr int AboveNormalNice = -1;
constexpr int HighestNice = -20;
constexpr std::chrono::milliseconds WaitStep{50};

void SetThreadNice(ThreadId thread, int nice) {
    setpriority(PRIO_PROCESS, static_cast<id_t>(thread), nice);
}

// The please-wait window when the failure wants one and the program has one.
std::shared_ptr<IReportWaitWindow> WaitWindowFor(const std::shared_ptr<IKXException>& exception) {
    return exception && exception->PlWaitBox() ? CurrentReportWaitWindow() : nullptr;
}

bool OnHandlerThread() {
    const ReporterRuntime* reporter = RunningReporter();
    return reporter != nullptr && reporter->Handler != nullptr &&
           reporter->Handler->Id() == CurrentThreadId();
}

}  // namespace

TBugReport::TBugReport(const std::shared_ptr<IKXException>& exception) : m_exception(exception) {
    CreateReport(exception, m_state);
}

std::string TBugReport::Text(bool complete) {
    // The completion itself (a plug-in, a handler) never waits for its own end.
    if (complete && !m_state.Complete.load() && m_state.CompletionThread != CurrentThreadId())
        WaitForCompletion();
    return m_state.TextCache.Text(*m_state.Header, *m_state.Sections,
                                  complete && !m_state.Complete.load());
}

bool TBugReport::IsComplete() const {
    return m_state.Complete.load();
}

void TBugReport::Abort() {
    m_state.AbortFlag = true;
}

std::optional<std::filesystem::path> TBugReport::Save() {
    const std::shared_ptr<IKXException> exception = m_exception.lock();
    if (!exception)
        return std::nullopt;
    if (const std::string saved = exception->SavedReportFile(); !saved.empty())
        return saved;
    exception->SetBugReport(Text(true));
    // The failure's report goes to the file by the same rules whichever report it is.
    return SaveMinimalReport(*exception);
}

std::array<std::uint32_t, 3> TBugReport::Checksums() const {
    const std::lock_guard lock(m_state.Guard);
    return m_state.Checksums;
}

std::vector<TThreadStackEntry> TBugReport::ThreadStacks() const {
    const std::lock_guard lock(m_state.Guard);
    return m_state.ThreadStacks;
}

void TBugReport::PostProcessingReached() {
    if (const std::shared_ptr<IKXException> exception = m_exception.lock())
        EnterCompleteReportPhase(*exception, m_state);
}

void TBugReport::Complete(const std::shared_ptr<IKXException>& exception) {
    m_state.CompletionThread = CurrentThreadId();
    const std::shared_ptr<IReportWaitWindow> window = WaitWindowFor(exception);
    if (!window) {
        CompleteReport(exception, m_state);
        return;
    }
    window->Show();
    CompleteReport(exception, m_state, [&] { window->ProcessMessages(); });
    window->Hide();
}

void TBugReport::WaitForCompletion() {
    const std::shared_ptr<IReportWaitWindow> window = WaitWindowFor(m_exception.lock());
    if (!window) {
        m_state.CompletionEnded.Wait();
        return;
    }
    if (const ThreadId completion = m_state.CompletionThread.load(); completion != 0)
        SetThreadNice(completion, HighestNice);
    window->Show();
    while (!m_state.CompletionEnded.WaitFor(WaitStep))
        window->ProcessMessages();
    window->Hide();
}

std::shared_ptr<TBugReport> StartBugReport(const std::shared_ptr<IKXException>& exception,
                                           TCompletionPlace place) {
    auto report = std::make_shared<TBugReport>(exception);
    if (place == TCompletionPlace::cpOwnThread) {
        try {
            std::thread([report, exception] {
                NameThread(0, ReporterThreadName);
                report->m_state.CompletionThread = CurrentThreadId();
                SetThreadNice(CurrentThreadId(), AboveNormalNice);
                CompleteReport(exception, report->m_state);
            }).detach();
            return report;
        } catch (const std::system_error&) {
            // No thread to be had: the report is completed here.
        }
    }
    report->Complete(exception);
    return report;
}

std::shared_ptr<TBugReport> StartBugReport(const std::shared_ptr<IKXException>& exception) {
    return StartBugReport(exception, OnHandlerThread() ? TCompletionPlace::cpOwnThread
                                                       : TCompletionPlace::cpCallingThread);
}

void InstallFullBugReport() {
    SetBugReportBuilder([](const std::shared_ptr<IKXException>& exception) {
        return std::shared_ptr<IBugReport>(StartBugReport(exception));
    });
}

}  // namespace kestrix
