// \brief Queued calls on a QObject of the main thread.
#include "crash/threads/main_thread_messenger.h"

namespace kestrix {

MainThreadMessenger::MainThreadMessenger() : m_object(std::make_unique<QObject>()) {}

void MainThreadMessenger::Post(std::function<void()> call) const {
    QMetaObject::invokeMethod(m_object.get(), std::move(call), Qt::QueuedConnection);
}

}  // namespace kestrix
