// \brief TBugReport: the full bug report of one failure, held by the failure object. Its header is
// filled at once and its sections by a completion thread of their own when the report is built on
// the handler thread (otherwise at once, in the thread that builds it), so that the failure box can
// come up before the slow parts are ready. It is read at any time; a reader that needs it complete
// waits for its completion, with the please-wait window when `PlWaitBox` is set.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "crash/core/bug_report_hook.h"
#include "crash/report/report_state.h"

namespace kestrix {

enum class TCompletionPlace { cpOwnThread, cpCallingThread };

class TBugReport final : public IBugReport {
  public:
    // Builds the header and the sections' placeholders; StartBugReport starts the completion.
    explicit TBugReport(const std::shared_ptr<IKXException>& exception);

    std::string Text(bool complete) override;
    bool IsComplete() const override;
    void Abort() override;
    std::optional<std::filesystem::path> Save() override;
    void PostProcessingReached() override;

    // Other code (handlers, assistants) adds and changes fields here.
    const std::shared_ptr<IKXFields>& Header() const { return m_state.Header; }
    const std::shared_ptr<IKXFields>& Sections() const { return m_state.Sections; }

    // The three call-stack checksums; 0 until the report is complete.
    std::array<std::uint32_t, 3> Checksums() const;
    std::vector<TThreadStackEntry> ThreadStacks() const;

    // Fills the sections in the calling thread.
    void Complete(const std::shared_ptr<IKXException>& exception);

  private:
    void WaitForCompletion();

    std::weak_ptr<IKXException> m_exception;
    TReportState m_state;

    friend std::shared_ptr<TBugReport> StartBugReport(
        const std::shared_ptr<IKXException>& exception,
        TCompletionPlace place);
};

// The report of the failure with its completion started: on a thread of its own (above-normal
// priority), or completed in the calling thread before it returns.
std::shared_ptr<TBugReport> StartBugReport(const std::shared_ptr<IKXException>& exception,
                                           TCompletionPlace place);
// On a thread of its own when called on the handler thread, otherwise in the calling thread.
std::shared_ptr<TBugReport> StartBugReport(const std::shared_ptr<IKXException>& exception);

// Makes the full report the one failure handling builds.
void InstallFullBugReport();

}  // namespace kestrix
