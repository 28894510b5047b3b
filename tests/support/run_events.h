#pragma once

#include <functional>

/// For tests with real processes, which answer in real time: runs the event loop,
/// resting between looks (it never spins the CPU the processes need), until the
/// condition holds or timeoutMs has passed. Whether the condition came to hold. Also for
/// work that a worker thread hands back through the event loop. Makes an application
/// when the test program has none.
bool RunEventsUntil(const std::function<bool()>& condition, int timeoutMs);
