// \brief The display mode last set.
#include "crash/report/display_mode.h"

#include <mutex>

#include "crash/report/header_field_texts.h"

namespace kestrix {
namespace {

std::mutex g_guard;
std::optional<std::string> g_displayMode;

}  // namespace

void SetReportDisplayMode(int width, int height, int depth) {
    const std::lock_guard lock(g_guard);
    g_displayMode = DisplayModeText(width, height, depth);
}

std::optional<std::string> ReportDisplayMode() {
    const std::lock_guard lock(g_guard);
    return g_displayMode;
}

}  // namespace kestrix
