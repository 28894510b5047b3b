#pragma once

#include "base/system_shutdown.h"

/// Shuts Windows down: the process takes the shutdown privilege for the call and gives it
/// back afterwards.
class WinSystemShutdown final : public SystemShutdown {
public:
    Result PowerOff() override;
};
