// \brief The please-wait window that a caller shows while it waits for a complete report. The
// window is the failure box's (a Qt window); the report only asks it to show, to process its
// messages between the waits, and to hide.
#pragma once

#include <memory>

namespace kestrix {

class IReportWaitWindow {
  public:
    virtual ~IReportWaitWindow() = default;
    virtual void Show() = 0;
    virtual void ProcessMessages() = 0;
    virtual void Hide() = 0;
};

// Installed by the program's windows; none in a program without them. Used when `PlWaitBox` is
// set.
void SetReportWaitWindow(std::shared_ptr<IReportWaitWindow> window);
std::shared_ptr<IReportWaitWindow> CurrentReportWaitWindow();

}  // namespace kestrix
