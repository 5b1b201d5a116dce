// \brief The bug report of a failure as failure handling sees it, and the hook through which it
// is built. The report itself lives in the report library, which sits above the core; the
// program's start-up installs its builder here, so that the core never depends on it.
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace kestrix {

class IKXException;

class IBugReport {
  public:
    virtual ~IBugReport() = default;

    // The rendered report; with `complete` only once its completion has ended (waiting for it).
    virtual std::string Text(bool complete) = 0;
    virtual bool IsComplete() const = 0;
    // Stops the completion early; the sections not filled keep their placeholders.
    virtual void Abort() = 0;
    // Appends the complete report to "bugreport.txt" in the report folder, once per failure;
    // the file, none when it cannot be written.
    virtual std::optional<std::filesystem::path> Save() = 0;
    // Called once the failure has entered epPostProcessing: a report complete by then enters
    // epCompleteReport at once (otherwise its completion does when it ends).
    virtual void PostProcessingReached() = 0;
};

// Builds the header and the sections of the failure's report and starts their completion.
using BugReportBuilder =
    std::shared_ptr<IBugReport> (*)(const std::shared_ptr<IKXException>& exception);

namespace detail {
inline std::atomic<BugReportBuilder> InstalledBugReportBuilder{nullptr};
}

inline void SetBugReportBuilder(BugReportBuilder builder) {
    detail::InstalledBugReportBuilder.store(builder);
}

// None until the program's start-up installs one.
inline BugReportBuilder CurrentBugReportBuilder() {
    return detail::InstalledBugReportBuilder.load();
}

}  // namespace kestrix
