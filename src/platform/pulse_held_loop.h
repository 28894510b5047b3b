#pragma once

#include "base/thread_handoff.h"

/// The sound server's threaded loop has a lock taken inside its library, whose calls
/// ThreadSanitizer is told to overlook (tests/tsan.supp): whoever holds it says so around
/// what it touches, with one of these for as long as it holds it.
class HeldLoop {
public:
    explicit HeldLoop(const void* server) : m_server(server) { HandOff::Take(m_server); }
    ~HeldLoop() { HandOff::Give(m_server); }
    HeldLoop(const HeldLoop&) = delete;
    HeldLoop& operator=(const HeldLoop&) = delete;

private:
    const void* m_server;
};
