#include "playback/main_loop.h"

#include <algorithm>

bool SlotBegins(int slot, int lastProgramSlot) {
    // An earlier slot is new too: midnight, and a clock set back (the repeated hour of
    // the autumn clock change) would otherwise play nothing new until the old slot passed.
    return slot != lastProgramSlot;
}

long long MixPointSec(int lengthSec, int mixingSeconds) {
    // Remaining = length - position < MixingTime, in the whole seconds the tick reads.
    return (long long)lengthSec - mixingSeconds + 1;
}

TrackAir TrackOnAir(int lengthSec, int mixingSeconds, int skipIntroSec) {
    // The ticks come every kLoopMs from the track's start. SkipIntro jumps at the first
    // one, which moves the position on by the skip less the tick already played.
    const std::int64_t ahead = skipIntroSec > 0 ? skipIntroSec * 1000LL - kLoopMs : 0;
    const auto firstTickFrom = [](std::int64_t ms) {
        return (std::max<std::int64_t>(ms, 0) + kLoopMs - 1) / kLoopMs * kLoopMs;
    };
    TrackAir air;
    air.endsMs = std::max<std::int64_t>(lengthSec * 1000LL - ahead, skipIntroSec > 0 ? kLoopMs : 0);
    const std::int64_t mixed = firstTickFrom(MixPointSec(lengthSec, mixingSeconds) * 1000 - ahead);
    // The deck tells its end as it comes, settling or not: the next track starts then.
    air.nextStartsMs =
        std::min(std::max<std::int64_t>(mixed, (kTrackSettleTicks + 1) * kLoopMs), air.endsMs);
    return air;
}
