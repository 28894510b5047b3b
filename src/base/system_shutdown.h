#pragma once

#include "base/result.h"

/// Switches the machine off. The login manager's D-Bus call on Linux, the shutdown
/// privilege on Windows; tests use a fake, never the real one.
class SystemShutdown {
public:
    virtual ~SystemShutdown() = default;
    /// Asks the system to power off without asking anyone. An error with the system's
    /// reason when it refuses (no permission, no login manager).
    virtual Result PowerOff() = 0;
};
