#include "spots/spot_runner.h"

bool SpotRunner::TakesTick(const TickMoment&) { return false; }
