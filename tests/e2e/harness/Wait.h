#pragma once
#include <chrono>
#include <functional>

namespace tz::e2e {

using namespace std::chrono_literals;

// Polls `condition` until it holds or `timeout` passes; true if it held.
// The condition is always checked once more after the deadline.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds interval = 20ms);

void sleepFor(std::chrono::milliseconds duration);

}  // namespace tz::e2e
