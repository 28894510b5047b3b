#pragma once

#include <functional>

/// Calls onSignal on the event loop when the process receives SIGTERM, SIGINT or SIGHUP,
/// so a station computer that shuts down, or a closed terminal, closes the station
/// exactly as its window does. Signals ignored when the station started (nohup) stay so.
/// Does nothing on Windows.
void CallOnTerminationSignals(std::function<void()> onSignal);

/// Lets writes fail instead of killing the station: a settings file past the file-size
/// limit, or an as-run log piped into a reader that went away, end in an error the close
/// reports, and the close completes. Does nothing on Windows.
void IgnoreWriteFailureSignals();
