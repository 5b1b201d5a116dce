// \brief Sends running on threads of their own: restart and close wait for them, so that a
// report on its way is not cut off.
#pragma once

#include <functional>

namespace kestrix {

void StartBackgroundSend(std::function<void()> send);

// Waits until every send started so far has ended.
void WaitForBackgroundSends();

}  // namespace kestrix
