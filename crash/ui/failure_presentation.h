// \brief The presentation of a failure by its show setting: the full box (also for an assistant,
// whose forms are not built yet), the detail box, the simple box, or nothing. The box runs in the
// GUI thread, which the handler thread asks for through the main thread's message object, or in a
// helper process when the GUI thread cannot show it: a fault or freeze of that thread, or a GUI
// thread that does not answer a probe within 1500 ms (it is busy or blocked, perhaps waiting for
// the very thread that failed), so that no box waits for something that waits for the box. The box
// of a freeze closes by itself (continue) once the main thread answers again.
#pragma once

#include <memory>

#include "crash/core/ikx_exception.h"

namespace kestrix {

TExceptAction PresentFailure(const std::shared_ptr<IKXException>& exception, bool guiThreadCanShow);

}  // namespace kestrix
