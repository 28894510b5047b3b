#pragma once

#include <QString>
#include <functional>
#include <memory>

/// A named timer in the manner of a window timer: it fires every Interval() ms while
/// enabled. Enabling a disabled timer, or changing the interval of an enabled one,
/// starts its countdown from now. An interval of 0 or less never fires.
class Timer {
public:
    virtual ~Timer() = default;
    virtual QString Name() const = 0;
    virtual void SetInterval(int ms) = 0;
    virtual int Interval() const = 0;
    virtual void SetEnabled(bool on) = 0;
    virtual bool Enabled() const = 0;
};

/// Makes timers. The app backs them with QTimer, tests and the week preview with a
/// virtual host. The host must outlive its timers.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    /// A new timer, disabled, that calls onTick when it fires.
    virtual std::unique_ptr<Timer> CreateTimer(const QString& name, int intervalMs,
                                               std::function<void()> onTick) = 0;
};
