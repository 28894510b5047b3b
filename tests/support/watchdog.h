#pragma once

#include <QString>
#include <functional>

/// For calls that must never hang: runs `call` on a thread of its own and waits up to
/// timeoutMs for it; if it is late, runs `release` to free it, so that a regression fails
/// the test instead of hanging the suite. Whether the call returned in time.
bool ReturnsWithin(int timeoutMs, const std::function<void()>& call,
                   const std::function<void()>& release);

/// Makes a FIFO at path; false when the system cannot.
bool MakeFifo(const QString& path);
/// Opens the FIFO's writing end for a moment, which frees a reader waiting in open().
void ReleaseFifoReader(const QString& path);
