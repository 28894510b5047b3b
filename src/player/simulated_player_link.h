#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/clock.h"
#include "base/timer_host.h"
#include "player/player_link.h"

/// Two decks that play on the station's clock instead of a sound card: a handed-over
/// file plays from 0 for its estimated length and then reads stopped. A missing or
/// unreadable file never starts (and is told as failed). Its end is told as it comes. Used by
/// tests and by the week preview.
class SimulatedPlayerLink final : public QObject, public PlayerLink {
    Q_OBJECT
public:
    using LengthOf = std::function<std::uint32_t(const QString& path)>;

    /// lengthOf defaults to the MPEG length reader.
    SimulatedPlayerLink(const Clock& clock, TimerHost& timers, LengthOf lengthOf = {});
    ~SimulatedPlayerLink() override;
    SimulatedPlayerLink(const SimulatedPlayerLink&) = delete;
    SimulatedPlayerLink& operator=(const SimulatedPlayerLink&) = delete;

    bool ProgramExists(const QString& programPath) const override;
    void Launch(int deck, const QString& programPath) override;
    bool Find(int deck) override;
    int PlayState(int deck) override;
    int PositionMs(int deck) override;
    int LengthSec(int deck) override;
    void JumpTo(int deck, int ms) override;
    void SetVolume(int deck, int volume) override;
    void TogglePause(int deck) override;
    void Stop(int deck) override;
    void StopWithFade(int deck) override;
    void HandOver(int deck, const QString& path) override;
    /// Holds nothing; a file that cannot be played is told as failed, as a player would.
    void Cue(int deck, const QString& path) override;
    /// The start is kept for the next hand-over; the gain is not simulated.
    void SetPlayback(int deck, double gainDb, double startSec) override;

    int Volume(int deck) const;
    QString File(int deck) const override;
    /// Whether the deck is audible: playing at a volume above 0.
    bool Audible(int deck);
    /// A deck that does not answer (yet): it is not found and ignores everything until
    /// it answers again, as a player still starting up.
    void SetAnswering(int deck, bool answering);
    /// A deck found earlier whose player died: every query reads 0, commands do nothing.
    void Kill(int deck);

Q_SIGNALS:
    /// load (path), stop, fadestop, pause, resume, jump (ms), ended, volume (0..255).
    void DeckEvent(int deck, const QString& event, const QString& detail);

private:
    struct Deck;
    Deck& At(int deck);
    const Deck& At(int deck) const;
    bool Alive(int deck) const;
    std::int64_t NowMs() const;
    void Emit(int deck, const QString& event, const QString& detail = {});
    void ArmEnd(int deck);
    void Ended(int deck);
    void StopNow(int deck, const QString& event);

    const Clock& m_clock;
    LengthOf m_lengthOf;
    std::array<std::unique_ptr<Deck>, 2> m_decks;
};
