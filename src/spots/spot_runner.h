#pragma once

#include "playback/tick_part.h"

/// The spot runner's place in the tick, between the program of the hour and the next
/// track. It takes no tick yet: there are no spots to run.
class SpotRunner : public TickPart {
public:
    /// Counts each head taken from the queue while the every-few-songs spot is on.
    void CountQueueHead();
    bool TakesTick(const TickMoment& moment) override;

    bool PlayOnlyOneSpot = false;
    int TracksSinceEverySpot = 0;
};
