#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QtGlobal>
#include <cstdint>

#include "base/settings_table.h"
#include "playback/tick_part.h"
#include "spots/spot_mode.h"

class JingleWall;
class PlaybackEngine;
class SpotSchedule;

/// The spot runner's place in the tick, between the program of the hour and the next
/// track: it prepares "Next Spots" at each quarter change, warns in manual mode, and five
/// seconds before each quarter plays the checked spots one after another on the other
/// deck, then hands back to the music. Every few songs it plays one of the first four
/// jingles of the current bank as a spot.
class SpotRunner : public QObject, public TickPart {
    Q_OBJECT
public:
    /// PanelManualSpotsWarning's two colours (0x00BBGGRR and the button face).
    static constexpr std::uint32_t kWarningRed = 255;
    static constexpr std::uint32_t kWarningFace = 0x8000000F;
    /// A spot file larger than this takes the slow crossfade of a track.
    static constexpr qint64 kLongSpotBytes = 800000;

    /// The every-few-songs spot cycles through this many of the bank's first jingles.
    static constexpr int kEverySpotJingles = 4;

    SpotRunner(SpotSchedule& schedule, PlaybackEngine& engine, const JingleWall& jingles);

    /// Counts each head taken from the queue while the every-few-songs spot is on.
    void CountQueueHead();
    bool TakesTick(const TickMoment& moment) override;
    /// The next checked spot of the run under way, or the first of a run due this minute.
    std::optional<QString> ComesNext(const TickMoment& moment) const override;
    /// A spot of this quarter the deck could not open is passed over at its turn.
    bool PassesOver(const QString& path) override;

    // --- the operator's commands ---
    /// "Play Spots Normally": in manual mode the operator lets this quarter's spots play.
    /// Nothing in automatic mode; the acceptance ends with the manual mode.
    void PlaySpotsNormally();
    /// "SendAsSpot": the file plays on the other deck at once, over the music; no
    /// crossfade, no exchange of the decks. Nothing without a second player or a path.
    void SendAsSpot(const QString& path);
    /// Double click on a spot of the Spots tab: deck 0 stops (fading when fadeJingles)
    /// and the next tick starts the head of the queue in list order.
    void ListBoxSpots2DblClick(bool fadeJingles);

    // --- what the view reads ---
    bool SpotRunActive() const { return m_runActive; }
    /// A jingle is due as a spot; it waits for a run of spots to end.
    bool EverySpotPending() const { return m_everySpotPending; }
    /// The entry of the current bank the next every-few-songs spot plays.
    int EverySpotCursor() const { return m_everySpotCursor; }
    /// The "Next Spots" row the run plays next.
    int NextSpotIndex() const { return m_nextIndex; }
    bool PanelManualSpotsWarning() const { return m_warningVisible; }
    std::uint32_t WarningColour() const { return m_warningColour; }
    /// While the warning shows: the seconds left before the quarter ends and its spots
    /// are let go, in which "Play Spots Normally" still plays them.
    int WarningSecondsLeft() const { return m_warningSecondsLeft; }

    /// Larger than 800000 bytes; a file that cannot be opened is not.
    static bool IsLongSpotFile(const QString& path);

    // The options' settings of the spots.
    void SetHowToPlaySpots(SpotMode mode) { HowToPlaySpots = int(mode); }
    /// The mode the spots play in (the stored value may be any number).
    SpotMode HowSpotsPlay() const { return SpotModeOf(HowToPlaySpots); }
    void SetHowFastFadeOnSpots(int step) { HowFastFadeOnSpots = step; }
    void SetPlayOnlyOneSpot(bool on) { PlayOnlyOneSpot = on; }
    /// Kept in one byte: 300 is kept as 44.
    void SetPlaySpotEvery(int songs) { PlaySpotEvery = static_cast<quint8>(songs); }

    /// The spot mode chosen in the options' "Spots" frame as it is stored (a SpotMode;
    /// any other value plays as SpotMode::Just).
    int HowToPlaySpots = int(SpotMode::Just);
    int HowFastFadeOnSpots = 20;
    bool PlayOnlyOneSpot = false;
    quint8 PlaySpotEvery = 5;  ///< one byte, as it is stored
    int TracksSinceEverySpot = 0;
    /// Accepted in manual mode for the quarter under way; cleared at each quarter change
    /// and in automatic mode.
    bool SpotsAccepted = false;

    /// The spot values above, as the station's settings keep them.
    SettingsTable& Settings() { return m_settings; }

    /// Where a spot of "Next Spots" stands in the schedule: "YYYY-MM-DD HH:MM #N", its
    /// quarter's start and its row (1 for the first).
    QString SpotPlace(int index) const;

    /// Where the runs stand, to go on with after a restart.
    struct Saved {
        bool runActive = false;
        int nextIndex = 0;
        QString triggeredSlot;
        bool everySpotPending = false;
        int everySpotCursor = 0;
        int tracksSinceEverySpot = 0;
        bool spotsAccepted = false;
    };
    Saved Save() const;
    void Restore(const Saved& saved);

Q_SIGNALS:
    /// A spot is about to be handed to a deck. place is SpotPlace for a spot of the
    /// schedule, empty for one sent by the operator or a jingle played as a spot.
    void SpotStarted(const QString& path, const QString& place);
    /// An unchecked spot of the run was passed over.
    void SpotSkipped(const QString& path, const QString& place);
    /// A quarter ended in manual mode with this many checked spots the operator did not
    /// let play; places: the quarter's start and the rows, "YYYY-MM-DD HH:MM #1 #3".
    void SpotsCancelled(int count, const QString& places);
    /// A spot that could not be played; the run went on without it.
    void Problem(const QString& message);

private:
    void QuarterChange(const TickMoment& moment);
    void WarnAndTrigger(const TickMoment& moment);
    /// The run's step at this tick: wait for the deck, or start the next spot, passing
    /// over those that cannot play. False when the run ended and the music is to follow.
    bool RunStep(const TickMoment& moment);
    /// The every-few-songs spot's step once the deck is free.
    void EverySpotStep();
    void StartSpot(const QString& path, const QString& place);
    /// Whether a run may start at this minute: spots play by themselves, or were accepted.
    bool RunMayStart(int minute) const;

    SpotSchedule& m_schedule;
    PlaybackEngine& m_engine;
    const JingleWall& m_jingles;
    bool m_runActive = false;
    int m_warningSecondsLeft = 0;
    bool m_everySpotPending = false;
    int m_everySpotCursor = 0;
    int m_nextIndex = 0;
    bool m_startSpotsNow = false;
    bool m_warningVisible = false;
    std::uint32_t m_warningColour = kWarningRed;
    bool m_warnedUnaccepted = false;  // the warning came this quarter and no run followed
    QString m_triggeredSlot;          // the quarter of the last run, with its date
    QSet<QString> m_unplayable;       // spots of this quarter the deck could not open
    SettingsTable m_settings;
};
