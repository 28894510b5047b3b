#pragma once

#include <QDateTime>

/// Local date and time now. The core never reads the system clock itself, so tests
/// and the week preview can run the station on a virtual clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
};
