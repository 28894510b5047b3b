#pragma once

#include <QString>
#include <functional>

/// Runs `call` on a thread of its own; if it has not returned within timeoutMs, runs `release`
/// to free it, so that a hang fails the test instead of stopping the suite. Whether it returned.
bool ReturnsWithin(int timeoutMs, const std::function<void()>& call,
                   const std::function<void()>& release);

/// Makes a FIFO at path; false when the system cannot.
bool MakeFifo(const QString& path);
/// Opens the FIFO's writing end for a moment, which frees a reader waiting in open().
void ReleaseFifoReader(const QString& path);
