#pragma once

#include <QObject>
#include <array>

#include "player/player_link.h"

/// Passes every command on to another deck link and reports it as an event, as the
/// as-run log wants them: load (path), stop, fadestop, pause, resume, jump (ms), volume
/// (0..255), ended when a deck that was playing is found stopped without being told to stop,
/// and dead (why) when its player was found dead and replaced: whatever it was handed last
/// was not heard to its end, perhaps not at all. A deck that tells of its end is logged
/// ended at that moment; the decks' news then goes on to this link's listener.
class LoggingPlayerLink final : public QObject, public PlayerLink {
    Q_OBJECT
public:
    explicit LoggingPlayerLink(PlayerLink& inner);
    ~LoggingPlayerLink() override { m_inner.SetListener({}); }
    LoggingPlayerLink(const LoggingPlayerLink&) = delete;
    LoggingPlayerLink& operator=(const LoggingPlayerLink&) = delete;

    bool ProgramExists(const QString& programPath) const override {
        return m_inner.ProgramExists(programPath);
    }
    void Launch(int deck, const QString& programPath) override {
        m_inner.Launch(deck, programPath);
    }
    bool Find(int deck) override { return m_inner.Find(deck); }
    int PlayState(int deck) override;
    int PositionMs(int deck) override { return m_inner.PositionMs(deck); }
    int LengthSec(int deck) override { return m_inner.LengthSec(deck); }
    QString File(int deck) const override { return m_inner.File(deck); }
    void JumpTo(int deck, int ms) override;
    void SetVolume(int deck, int volume) override;
    void TogglePause(int deck) override;
    void Stop(int deck) override;
    void StopWithFade(int deck) override;
    void HandOver(int deck, const QString& path) override;
    void Cue(int deck, const QString& path) override { m_inner.Cue(deck, path); }
    void SetPlayback(int deck, double gainDb, double startSec) override {
        m_inner.SetPlayback(deck, gainDb, startSec);
    }
    void Restart(int deck) override { m_inner.Restart(deck); }
    Deaths DeathsOf(int deck) const override { return m_inner.DeathsOf(deck); }

Q_SIGNALS:
    void DeckEvent(int deck, const QString& event, const QString& detail);

private:
    void Emit(int deck, const QString& event, const QString& detail = {});
    // Reports a death of the deck's player not reported yet; whether there was one.
    bool ReportDeath(int deck);

    PlayerLink& m_inner;
    std::array<bool, 2> m_seenPlaying{};
    std::array<int, 2> m_deathsReported{};
};
