// \brief RealizeOptimalLinkChains: the fourth phase of a stack trace. Between each two anchors
// (the items that are certain), from the innermost outwards, and before the outermost anchor,
// only the items on the best-scored chain of links stay valid.
#pragma once

#include "crash/stack/stack_walk.h"

namespace kestrix {

void RealizeOptimalLinkChains(TStackWalk& walk);

}  // namespace kestrix
