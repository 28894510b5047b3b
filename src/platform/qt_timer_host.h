#pragma once

#include "base/timer_host.h"

/// Timers backed by QTimer on the thread's event loop.
class QtTimerHost final : public TimerHost {
public:
    std::unique_ptr<Timer> CreateTimer(const QString& name, int intervalMs,
                                       std::function<void()> onTick) override;
};
