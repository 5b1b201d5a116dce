// \brief The failure object.
#include "crash/core/ikx_exception.h"

namespace kestrix {
namespace {

std::vector<std::string> ClassNamesOf(const ThrownObject& object) {
    return object ? kestrix::ClassNames(*object.Type) : std::vector<std::string>{};
}

}  // namespace

IKXException::IKXException(ExceptionValues values,
                           std::shared_ptr<IKXModuleSettings> moduleSettings)
    : SettingsOverlay(std::move(moduleSettings)),
      m_values(std::move(values)),
      m_classNames(ClassNamesOf(m_values.Object)),
      m_version(GetString("VersionVar")),
      m_canContinue(m_values.CanContinue),
      m_decisions(DecideByClassFilters(*this, m_classNames)) {}

std::string IKXException::ExceptMessage() const {
    return ExceptionMessage(m_values.Object);
}

FilterDecisions IKXException::Decisions() const {
    const std::lock_guard lock(m_guard);
    return m_decisions;
}

void IKXException::SetDecisions(FilterDecisions decisions) {
    const std::lock_guard lock(m_guard);
    m_decisions = std::move(decisions);
}

std::string IKXException::BugReport(bool complete) const {
    if (const std::shared_ptr<IBugReport> report = Report()) {
        return report->Text(complete);
    }
    const std::lock_guard lock(m_guard);
    return m_bugReport;
}

std::shared_ptr<IBugReport> IKXException::Report() const {
    const std::lock_guard lock(m_guard);
    return m_report;
}

void IKXException::SetReport(std::shared_ptr<IBugReport> report) {
    const std::lock_guard lock(m_guard);
    m_report = std::move(report);
}

void IKXException::SetBugReport(std::string report) {
    const std::lock_guard lock(m_guard);
    m_bugReport = std::move(report);
}

std::string IKXException::SavedReportFile() const {
    const std::lock_guard lock(m_guard);
    return m_savedReportFile;
}

void IKXException::SetSavedReportFile(std::string file) {
    const std::lock_guard lock(m_guard);
    m_savedReportFile = std::move(file);
}

}  // namespace kestrix
