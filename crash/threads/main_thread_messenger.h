// \brief The reporter's message object in the main thread: carries requests (the pause request,
// the freeze watchdog's probe) to the main thread, which runs them from its event loop.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace kestrix {

class MainThreadMessenger {
  public:
    // Created in the main thread, whose event loop then runs what is posted.
    MainThreadMessenger();

    // Safe from any thread; the call runs in the main thread when its event loop next runs.
    void Post(std::function<void()> call) const;

  private:
    std::unique_ptr<QObject> m_object;
};

}  // namespace kestrix
