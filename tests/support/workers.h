#pragma once

/// Waits for the file reads the station runs on worker threads, then delivers their results
/// to this thread, as its event loop would.
void FinishWorkers();
