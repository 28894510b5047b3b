#include "spots/spot_runner.h"

SpotRunner::SpotRunner() {
    m_settings.Add("HowToPlaySpots", HowToPlaySpots)
        .Add("HowFastFadeOnSpots", HowFastFadeOnSpots)
        .Add("PlayOnlyOneSpot", PlayOnlyOneSpot)
        .Add("PlaySpotEvery", PlaySpotEvery);
}

void SpotRunner::CountQueueHead() {
    if (PlayOnlyOneSpot) ++TracksSinceEverySpot;
}

bool SpotRunner::TakesTick(const TickMoment&) { return false; }
