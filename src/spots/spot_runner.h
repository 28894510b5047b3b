#pragma once

#include "playback/tick_part.h"

/// The spot runner's place in the tick, between the program of the hour and the next
/// track. It takes no tick yet: there are no spots to run.
class SpotRunner : public TickPart {
public:
    bool TakesTick(const TickMoment& moment) override;
};
