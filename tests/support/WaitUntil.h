#pragma once

#include <chrono>
#include <functional>

namespace testing_support {

// Polls the condition every `interval` until it holds or `timeout` has passed; whether it held.
// The condition is checked once more at the deadline, so a slow last step is not missed.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds interval = std::chrono::milliseconds(20));

}  // namespace testing_support
