// \brief The interception points of the language runtime and of Qt: the terminate path, Qt's
// fatal message handler, the thread guard, the hidden-exception path at every raise, and the
// freeze watchdog's report. Each calls HandleException with its source, values and can-continue
// flag.
#pragma once

#include <QtGlobal>
#include <exception>

namespace kestrix {

// Takes over the points; the destructor gives them back in reverse order.
class InterceptionPoints {
  public:
    InterceptionPoints();
    ~InterceptionPoints();
    InterceptionPoints(const InterceptionPoints&) = delete;
    InterceptionPoints& operator=(const InterceptionPoints&) = delete;

  private:
    std::terminate_handler m_previousTerminate = nullptr;
    QtMessageHandler m_previousMessageHandler = nullptr;
};

// The freeze watchdog's report: etFrozen from esAntiFreezeCheck.
void HandleFreeze();

// Does nothing on this platform: the system has no process-wide unhandled-exception filter; the
// fault handlers and the terminate path catch what such a filter would.
void InstallUnhandledExceptionFilter();

}  // namespace kestrix
