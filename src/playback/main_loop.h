#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "media/sound_analysis.h"

/// The main loop's tick, and the ticks it lets a track it started settle before it looks.
inline constexpr int kLoopMs = 400;
inline constexpr std::uint8_t kTrackSettleTicks = 10;

/// The whole second of its position from which the tick hands a track over to the next:
/// the first at which less than MixingTime remains.
long long MixPointSec(int lengthSec, int mixingSeconds);

/// Mixing by sound (SmartMixing): the length the tick mixes a track by is its end of sound,
/// to the whole second above, when its analysis found sound; its length otherwise. The
/// week's check, the preview and the decks all go by this.
int MixLengthSec(int lengthSec, const std::optional<SoundAnalysis>& analysis, bool smart);
/// Where the deck starts the file: at its first sound when mixing by sound, else at 0.
double StartOfSoundSec(const std::optional<SoundAnalysis>& analysis, bool smart);

/// A track on air as the main loop plays it by itself, in ms from its start.
struct TrackAir {
    /// The next track starts: at the first tick after the settling ticks that finds the
    /// track past its mix point, or as it ends when that comes first.
    std::int64_t nextStartsMs = 0;
    /// It falls silent when nothing follows it.
    std::int64_t endsMs = 0;
};
/// Reckons a track's air from its length, MixingTime and the seconds SkipIntro skips (0
/// when off): the main loop and the week's check count a program's music with it. Mixed
/// by sound, the length is MixLengthSec less the start of sound the deck skips.
TrackAir TrackOnAir(int lengthSec, int mixingSeconds, int skipIntroSec,
                    const std::optional<SoundAnalysis>& sound = std::nullopt, bool smart = false);

/// State of the main loop (TimerProgram1) and the texts its tick shows.
struct LoopState {
    /// Ticks still to skip after a start: 10 after a track, 5 after a spot.
    std::uint8_t SettleTicks = 0;
    /// A jingle has the next deck: no track is handed over (the current one plays on under
    /// it) until the jingle ends.
    bool JingleOnNextDeck = false;
};

/// The clock and the times of the current track, as the tick last wrote them.
struct LoopDisplay {
    QString LabelTime1;
    QString LabelLenghtOfTrack;
    QString LabelPlayTime;
    QString LabelRemainingTime;
};

/// Whether a tick in `slot` begins a new program: any slot other than the last one
/// loaded, a later one, the fall from 47 to 0 at midnight, or an earlier one after the
/// clock went back.
bool SlotBegins(int slot, int lastProgramSlot);
