#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "base/virtual_timer_host.h"
#include "playback/playback_engine.h"
#include "player/simulated_player_link.h"

/// The playback engine on virtual time with two simulated decks, a folder for the MPEG
/// tracks a test makes, and a log of what the decks received. The clock starts at
/// `start` (10:05 by default) and the loop's slot is set to it; as at the station's
/// start-up, the first tick asks for the program of that slot once more.
struct EngineRig {
    struct DeckEvent {
        std::int64_t atMs;
        int deck;
        QString kind;  ///< load, stop, fadestop, pause, jump, ended, volume
        QString detail;
    };

    explicit EngineRig(const QDateTime& start = QDateTime(QDate(2026, 12, 7), QTime(10, 5)));

    /// Writes "Artist - Title <n>.mp3" of each length (n counts on from 1 across calls)
    /// and returns their paths.
    QStringList Tracks(const QList<int>& seconds);
    /// Replaces the program with one list and draws a fresh queue of five, as the loader does.
    void LoadProgram(const QString& listName, const QStringList& lines);
    /// Launches the decks and waits out TimerBeggin3; the first tick comes 400 ms later.
    void StartLoop();
    void Advance(std::int64_t ms) { host.Advance(ms); }
    int Current() { return engine.Players().CurrentDeck; }
    /// The logged events of one kind.
    std::vector<DeckEvent> Events(const QString& kind) const;

    QTemporaryDir dir;
    VirtualTimerHost host;
    SimulatedPlayerLink link;
    PlaybackEngine engine;
    std::vector<DeckEvent> events;
    int made = 0;
};
