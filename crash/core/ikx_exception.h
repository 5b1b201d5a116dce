// \brief IKXException: one failure, shared by the handler thread, the failure box, the report
// builder and the delivery code (reference-counted through std::shared_ptr). It is itself a
// settings object: a private overlay over its module's settings, so that a setting changed on it
// (by a handler, say) applies to this failure only.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "crash/core/bug_report_hook.h"
#include "crash/core/class_filters.h"
#include "crash/core/exception_values.h"
#include "crash/settings/settings_overlay.h"

namespace kestrix {

class IKXException : public SettingsOverlay {
  public:
    IKXException(ExceptionValues values, std::shared_ptr<IKXModuleSettings> moduleSettings);

    TExceptType ExceptType() const { return m_values.Type; }
    TExceptSource Source() const { return m_values.Source; }
    const std::exception_ptr& Exception() const { return m_values.Exception; }
    const ThrownObject& ExceptObject() const { return m_values.Object; }
    std::uintptr_t ExceptAddress() const { return m_values.Address; }
    bool CanContinue() const { return m_canContinue.load(); }
    void SetCanContinue(bool canContinue) { m_canContinue = canContinue; }
    bool OriginalCanContinue() const { return m_values.CanContinue; }
    ThreadId CrashedThread() const { return m_values.CrashedThread; }
    std::uintptr_t StackPointer() const { return m_values.StackPointer; }
    std::uintptr_t FramePointer() const { return m_values.FramePointer; }
    std::uintptr_t StackTop() const { return m_values.StackTop; }
    const std::optional<CpuContext>& Context() const { return m_values.Context; }
    const void* RelatedObject() const { return m_values.RelatedObject; }
    const std::shared_ptr<const TDAPreStackItem>& PreparedStack() const {
        return m_values.PreparedStack;
    }

    // The exception's class and its ancestors; the first is the class itself.
    const std::vector<std::string>& ClassNames() const { return m_classNames; }
    std::string ExceptClass() const { return m_classNames.empty() ? "" : m_classNames.front(); }
    std::string ExceptMessage() const;

    // `VersionVar` as it read when the failure object was made.
    const std::string& Version() const { return m_version; }

    TExceptPhase Phase() const { return m_phase.load(); }
    void SetPhase(TExceptPhase phase) { m_phase = phase; }

    // What the class filters decided; changeable for this failure.
    FilterDecisions Decisions() const;
    void SetDecisions(FilterDecisions decisions);

    // The report's text: the full report's when one is attached (with `complete`, once its
    // completion has ended), otherwise the text set.
    std::string BugReport(bool complete = false) const;
    void SetBugReport(std::string report);
    // The full report, attached when failure handling starts building it.
    std::shared_ptr<IBugReport> Report() const;
    void SetReport(std::shared_ptr<IBugReport> report);
    // Where the report was saved, so that the same failure is never saved twice.
    std::string SavedReportFile() const;
    void SetSavedReportFile(std::string file);

  private:
    const ExceptionValues m_values;
    const std::vector<std::string> m_classNames;
    const std::string m_version;
    std::atomic<bool> m_canContinue;
    std::atomic<TExceptPhase> m_phase{epNotHandledYet};
    mutable std::mutex m_guard;
    FilterDecisions m_decisions;
    std::string m_bugReport;
    std::shared_ptr<IBugReport> m_report;
    std::string m_savedReportFile;
};

}  // namespace kestrix
