#pragma once

#include <QDateTime>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/clock.h"
#include "base/timer_host.h"

/// Timers and a clock on virtual time. Advance(ms) moves time forward and fires the
/// timers that fall due, in time order (timers due together fire in creation order).
/// A handler that disables its timer and enables it again before returning re-arms it
/// from the moment of the tick, so ticks never overlap.
class VirtualTimerHost final : public TimerHost, public Clock {
public:
    explicit VirtualTimerHost(const QDateTime& start);
    ~VirtualTimerHost() override;
    VirtualTimerHost(const VirtualTimerHost&) = delete;
    VirtualTimerHost& operator=(const VirtualTimerHost&) = delete;

    std::unique_ptr<Timer> CreateTimer(const QString& name, int intervalMs,
                                       std::function<void()> onTick) override;
    QDateTime Now() const override;

    /// Milliseconds of virtual time since the start.
    std::int64_t ElapsedMs() const { return m_nowMs; }
    void Advance(std::int64_t ms);
    /// Time stops at this moment (a station that powered off): the Advance in progress
    /// returns after the handler that called this, and later ones do nothing.
    void Stop() { m_stopped = true; }
    bool Stopped() const { return m_stopped; }
    /// Moves the clock to another wall time without firing anything (a clock set back).
    void SetWallTime(const QDateTime& t);

    struct Entry;

private:
    Entry* NextDue(std::int64_t limit) const;

    QDateTime m_start;
    std::int64_t m_nowMs = 0;
    std::int64_t m_wallOffsetMs = 0;
    std::uint64_t m_nextOrder = 0;
    bool m_stopped = false;
    std::vector<std::shared_ptr<Entry>> m_entries;
};
