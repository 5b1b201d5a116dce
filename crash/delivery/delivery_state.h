// \brief What delivery remembers of a failure while it lives: whether its report was sent (for
// `AutoSaveIfNotSent`) and which automatic actions ran, each once per failure.
#pragma once

#include <memory>

#include "crash/core/ikx_exception.h"

namespace kestrix {

enum TDeliveryMark { dmSent, dmAutoSend, dmAutoSave };

void Mark(const std::shared_ptr<IKXException>& failure, TDeliveryMark mark);
bool IsMarked(const std::shared_ptr<IKXException>& failure, TDeliveryMark mark);
// Marks it; whether it was not marked before.
bool MarkFirst(const std::shared_ptr<IKXException>& failure, TDeliveryMark mark);

}  // namespace kestrix
