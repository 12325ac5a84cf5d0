#pragma once
// Waiting by yielding to the event loop (a nested QEventLoop): receive
// events, timer ticks and repaints are handled while the wait lasts.
#include <functional>

namespace platform {

// Handles events, sleeping until the next one arrives, while keepWaiting()
// returns true. keepWaiting is tested before the first event and after each.
void WaitWhileYielding(const std::function<bool()>& keepWaiting);

} // namespace platform
