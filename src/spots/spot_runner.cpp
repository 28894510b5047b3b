#include "spots/spot_runner.h"

void SpotRunner::CountQueueHead() {
    if (PlayOnlyOneSpot) ++TracksSinceEverySpot;
}

bool SpotRunner::TakesTick(const TickMoment&) { return false; }
