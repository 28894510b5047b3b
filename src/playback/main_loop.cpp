#include "playback/main_loop.h"

#include <algorithm>
#include <cmath>

bool SlotBegins(int slot, int lastProgramSlot) {
    // An earlier slot is new too: midnight, and a clock set back (the repeated hour of
    // the autumn clock change) would otherwise play nothing new until the old slot passed.
    return slot != lastProgramSlot;
}

int MixLengthSec(int lengthSec, const std::optional<SoundAnalysis>& analysis, bool smart) {
    if (!smart || !analysis || !analysis->soundFound) return lengthSec;
    return std::min(lengthSec, int(std::ceil(analysis->endSec)));
}

double StartOfSoundSec(const std::optional<SoundAnalysis>& analysis, bool smart) {
    return smart && analysis && analysis->soundFound ? analysis->startSec : 0;
}

long long MixPointSec(int lengthSec, int mixingSeconds) {
    // Remaining = length - position < MixingTime, in the whole seconds the tick reads.
    return (long long)lengthSec - mixingSeconds + 1;
}

TrackAir TrackOnAir(int lengthSec, int mixingSeconds, int skipIntroSec,
                    const std::optional<SoundAnalysis>& sound, bool smart) {
    // The ticks come every kLoopMs from the track's start. SkipIntro jumps at the first
    // one, which moves the position on by the skip less the tick already played; mixed by
    // sound, the deck starts at the first sound.
    const std::int64_t ahead = skipIntroSec > 0
                                   ? skipIntroSec * 1000LL - kLoopMs
                                   : std::llround(StartOfSoundSec(sound, smart) * 1000);
    const int mixLength = MixLengthSec(lengthSec, sound, smart);
    const auto firstTickFrom = [](std::int64_t ms) {
        return (std::max<std::int64_t>(ms, 0) + kLoopMs - 1) / kLoopMs * kLoopMs;
    };
    TrackAir air;
    air.endsMs = std::max<std::int64_t>(lengthSec * 1000LL - ahead, skipIntroSec > 0 ? kLoopMs : 0);
    const std::int64_t mixed = firstTickFrom(MixPointSec(mixLength, mixingSeconds) * 1000 - ahead);
    // The deck tells its end as it comes, settling or not: the next track starts then.
    air.nextStartsMs =
        std::min(std::max<std::int64_t>(mixed, (kTrackSettleTicks + 1) * kLoopMs), air.endsMs);
    return air;
}
