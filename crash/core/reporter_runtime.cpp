// \brief The running reporter's shared state.
#include "crash/core/reporter_runtime.h"

#include <mutex>

namespace kestrix {
namespace {

std::atomic<const ReporterRuntime*> g_runtime{nullptr};
std::atomic<int> g_reporterWindows{0};
std::mutex g_presenterGuard;
FailurePresenter g_presenter;

}  // namespace

const ReporterRuntime* RunningReporter() {
    return g_runtime.load();
}

void SetRunningReporter(const ReporterRuntime* runtime) {
    g_runtime = runtime;
}

void SetFailurePresenter(FailurePresenter presenter) {
    const std::lock_guard lock(g_presenterGuard);
    g_presenter = std::move(presenter);
}

FailurePresenter CurrentFailurePresenter() {
    const std::lock_guard lock(g_presenterGuard);
    return g_presenter;
}

ReporterWindowScope::ReporterWindowScope() {
    ++g_reporterWindows;
}

ReporterWindowScope::~ReporterWindowScope() {
    --g_reporterWindows;
}

bool ReporterWindowOpen() {
    return g_reporterWindows.load() > 0;
}

}  // namespace kestrix
