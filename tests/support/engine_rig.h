#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>

#include "base/virtual_timer_host.h"
#include "platform/simulated_player_link.h"
#include "playback/playback_engine.h"

/// The playback engine on virtual time with two simulated decks, and a folder for the
/// MPEG tracks a test makes. The clock starts at `start`; the loop's program slot is
/// set to that time so no program loads unless a test asks for it.
struct EngineRig {
    static QDateTime DefaultStart();

    explicit EngineRig(const QDateTime& start = DefaultStart());

    /// Writes "<title>" of exactly `seconds` seconds and returns its path.
    QString Track(const QString& title, int seconds);
    /// Replaces the program with one list of these lines and draws a fresh queue of five,
    /// as the program loader does.
    void LoadProgram(const QString& listName, const QStringList& lines);
    /// Launches the decks and waits out TimerBeggin3: the main loop runs afterwards.
    void StartLoop();
    /// Moves virtual time on by ms.
    void Advance(std::int64_t ms) { host.Advance(ms); }

    int Current() { return engine.Players().CurrentDeck; }

    QTemporaryDir dir;
    VirtualTimerHost host;
    SimulatedPlayerLink link;
    PlaybackEngine engine;
};
