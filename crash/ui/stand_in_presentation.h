// \brief The presentation of a failure until the full failure box exists: the stand-in box in the
// GUI thread, which the handler thread asks for through the main thread's message object, or in
// a helper process when the GUI thread cannot show it.
#pragma once

#include <memory>

#include "crash/core/ikx_exception.h"

namespace kestrix {

TExceptAction PresentInStandInBox(const std::shared_ptr<IKXException>& exception,
                                  bool guiThreadCanShow);

}  // namespace kestrix
