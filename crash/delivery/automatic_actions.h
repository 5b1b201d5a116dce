// \brief The automatic actions of a failure: when its report is complete the automatic send and
// the copy to the clipboard, when its handling ends the automatic save; each once per failure,
// the send and the save offered to the action handlers first.
#pragma once

#include <memory>
#include <optional>

#include "crash/core/ikx_exception.h"
#include "crash/delivery/attachments/rgb_image.h"
#include "crash/delivery/delivery_windows.h"

namespace kestrix {

void RunReportCompleteActions(const std::shared_ptr<IKXException>& failure,
                              const std::optional<RgbImage>& screenshot,
                              const std::shared_ptr<IDeliveryWindows>& windows);

// With `AutoSaveIfNotSent` it first waits for the sends still running, whose outcome decides.
void RunHandlingEndActions(const std::shared_ptr<IKXException>& failure);

}  // namespace kestrix
