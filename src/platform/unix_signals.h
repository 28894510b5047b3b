#pragma once

#include <functional>

/// Calls onSignal on the event loop when the process receives SIGTERM or SIGINT, so a
/// station computer that shuts down closes the station exactly as its window does.
/// Does nothing on Windows.
void CallOnTerminationSignals(std::function<void()> onSignal);
