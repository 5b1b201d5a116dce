// \brief The installed please-wait window.
#include "crash/report/report_wait_window.h"

#include <mutex>

namespace kestrix {
namespace {

std::mutex g_guard;
std::shared_ptr<IReportWaitWindow> g_window;

}  // namespace

void SetReportWaitWindow(std::shared_ptr<IReportWaitWindow> window) {
    const std::lock_guard lock(g_guard);
    g_window = std::move(window);
}

std::shared_ptr<IReportWaitWindow> CurrentReportWaitWindow() {
    const std::lock_guard lock(g_guard);
    return g_window;
}

}  // namespace kestrix
