// \brief The reporter's start-up and finalisation. The program creates one session at the start
// of main, in the main thread, before its own code runs (an explicit start rather than a static
// initialiser: the settings resources register themselves in static initialisers of their own,
// whose order against another one is not defined), and ends it after its message loop.
//
// Start-up, in this order: take over from the old process after a restart, clear the temporary
// folder, record the start time, load the settings, join the thread registry (which names the
// main thread); with a settings resource the reporter is set up, and when `Enabled`: the main
// thread's alternate signal stack and message object, the handler thread, the fault handlers (which
// hand faults to that thread), thread pausing, the thread guard with the throw, terminate and
// fatal-message paths, the freeze watchdog when `CheckFreeze` is set, and the emergency reserve.
// Finalisation undoes them in reverse order.
#pragma once

#include <cstdint>
#include <memory>

namespace kestrix {

class ReporterSession {
  public:
    ReporterSession();
    ~ReporterSession();
    ReporterSession(const ReporterSession&) = delete;
    ReporterSession& operator=(const ReporterSession&) = delete;

    // Set up (settings loaded, registry joined) and enabled (failures are intercepted).
    bool SetUp() const { return m_setUp; }
    bool Enabled() const;

  private:
    struct EnabledParts;
    bool m_setUp = false;
    std::unique_ptr<EnabledParts> m_enabled;
};

// Milliseconds of the monotonic clock at start-up ("program up time").
std::int64_t ProgramStartTime();

}  // namespace kestrix
