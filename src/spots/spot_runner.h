#pragma once

#include <QtGlobal>

#include "base/settings_table.h"
#include "playback/tick_part.h"

/// The spot runner's place in the tick, between the program of the hour and the next
/// track. It takes no tick yet: there are no spots to run.
class SpotRunner : public TickPart {
public:
    SpotRunner();

    /// Counts each head taken from the queue while the every-few-songs spot is on.
    void CountQueueHead();
    bool TakesTick(const TickMoment& moment) override;
    /// "Play Spots Normally": in manual mode the operator lets this quarter's spots play.
    void PlaySpotsNormally() { SpotsAccepted = true; }

    // The options' settings of the spots.
    void SetHowToPlaySpots(int mode) { HowToPlaySpots = mode; }
    void SetHowFastFadeOnSpots(int step) { HowFastFadeOnSpots = step; }
    void SetPlayOnlyOneSpot(bool on) { PlayOnlyOneSpot = on; }
    /// Kept in one byte: 300 is kept as 44.
    void SetPlaySpotEvery(int songs) { PlaySpotEvery = static_cast<quint8>(songs); }

    /// The spot mode chosen in the options' "Spots" frame, 1 to 4; any other plays as 1.
    int HowToPlaySpots = 1;
    int HowFastFadeOnSpots = 20;
    bool PlayOnlyOneSpot = false;
    quint8 PlaySpotEvery = 5;  ///< one byte, as it is stored
    int TracksSinceEverySpot = 0;
    /// Accepted in manual mode for the quarter under way; cleared at each quarter change.
    bool SpotsAccepted = false;

    /// The spot values above, as the station's settings keep them.
    SettingsTable& Settings() { return m_settings; }

private:
    SettingsTable m_settings;
};
