#pragma once

#include "base/clock.h"

/// The computer's local time.
class SystemClock final : public Clock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};
