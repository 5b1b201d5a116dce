// \brief The failure box's pictures, compiled in as resources.
#pragma once

#include <QIcon>

#include "crash/ui/failure_box_rules.h"

namespace kestrix {

// The button's 16 by 16 picture; the continue button's shows whether the failure can continue.
QIcon ButtonPicture(TKXButton button, bool canContinue);
// The 32 by 32 picture at the left of the message.
QIcon LargePicture();

}  // namespace kestrix
