#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace testing_support {

// Polls the condition every `interval` until it holds or `timeout` has passed; whether it held.
// The condition is checked once more at the deadline, so a slow last step is not missed.
inline bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                      std::chrono::milliseconds interval = std::chrono::milliseconds(20)) {
    for (const auto deadline = std::chrono::steady_clock::now() + timeout; std::chrono::steady_clock::now() < deadline;
         std::this_thread::sleep_for(interval)) {
        if (condition()) {
            return true;
        }
    }
    return condition();
}

}  // namespace testing_support
