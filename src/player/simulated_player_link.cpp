#include "player/simulated_player_link.h"

#include <algorithm>
#include <cmath>

#include "media/mpeg_data.h"

struct SimulatedPlayerLink::Deck {
    bool answering = true;
    bool launched = false;
    bool dead = false;
    QString file;
    int lengthSec = -1;  // -1 while nothing is loaded
    int state = kStopped;
    std::int64_t posAtRef = 0;  // position (ms) at refMs
    std::int64_t refMs = 0;     // clock time (ms) when posAtRef was taken
    int volume = 255;
    std::unique_ptr<Timer> endTimer;
    std::unique_ptr<Timer> failTimer;  // a player tells its failure after the hand-over
    News failure = News::Failed;       // or after the cue
    std::int64_t startMs = 0;          // where the next file handed over starts
};

SimulatedPlayerLink::SimulatedPlayerLink(const Clock& clock, TimerHost& timers, LengthOf lengthOf)
    : m_clock(clock), m_lengthOf(std::move(lengthOf)) {
    if (!m_lengthOf) m_lengthOf = [](const QString& path) { return TrackLength(path); };
    for (int i = 0; i < 2; ++i) {
        m_decks[i] = std::make_unique<Deck>();
        m_decks[i]->endTimer = timers.CreateTimer(QStringLiteral("SimulatedDeck%1End").arg(i), 1,
                                                  [this, i] { Ended(i); });
        m_decks[i]->failTimer =
            timers.CreateTimer(QStringLiteral("SimulatedDeck%1Failed").arg(i), 1, [this, i] {
                At(i).failTimer->SetEnabled(false);
                Tell(i, At(i).failure);
            });
    }
}

SimulatedPlayerLink::~SimulatedPlayerLink() = default;

SimulatedPlayerLink::Deck& SimulatedPlayerLink::At(int deck) { return *m_decks[deck & 1]; }
const SimulatedPlayerLink::Deck& SimulatedPlayerLink::At(int deck) const {
    return *m_decks[deck & 1];
}

bool SimulatedPlayerLink::Alive(int deck) const {
    const Deck& d = At(deck);
    return d.answering && d.launched && !d.dead;
}

std::int64_t SimulatedPlayerLink::NowMs() const { return m_clock.Now().toMSecsSinceEpoch(); }

void SimulatedPlayerLink::Emit(int deck, const QString& event, const QString& detail) {
    Q_EMIT DeckEvent(deck, event, detail);
}

bool SimulatedPlayerLink::ProgramExists(const QString&) const { return true; }

void SimulatedPlayerLink::Launch(int deck, const QString&) { At(deck).launched = true; }

bool SimulatedPlayerLink::Find(int deck) { return Alive(deck); }

int SimulatedPlayerLink::PlayState(int deck) { return Alive(deck) ? At(deck).state : 0; }

int SimulatedPlayerLink::PositionMs(int deck) {
    if (!Alive(deck)) return 0;
    const Deck& d = At(deck);
    std::int64_t pos = d.posAtRef;
    if (d.state == kPlaying) pos += NowMs() - d.refMs;
    return int(std::clamp<std::int64_t>(pos, 0, std::max(d.lengthSec, 0) * std::int64_t(1000)));
}

int SimulatedPlayerLink::LengthSec(int deck) { return Alive(deck) ? At(deck).lengthSec : 0; }

void SimulatedPlayerLink::ArmEnd(int deck) {
    Deck& d = At(deck);
    const std::int64_t left = std::int64_t(d.lengthSec) * 1000 - d.posAtRef;
    d.endTimer->SetEnabled(false);
    d.endTimer->SetInterval(int(std::max<std::int64_t>(left, 1)));
    d.endTimer->SetEnabled(true);
}

void SimulatedPlayerLink::Ended(int deck) {
    Deck& d = At(deck);
    d.endTimer->SetEnabled(false);
    d.state = kStopped;
    d.posAtRef = 0;
    Emit(deck, QStringLiteral("ended"));
    Tell(deck, News::Ended);
}

void SimulatedPlayerLink::JumpTo(int deck, int ms) {
    if (!Alive(deck)) return;
    Deck& d = At(deck);
    ms = std::max(ms, 0);  // as a real player must: below 0 is the start, never the end
    Emit(deck, QStringLiteral("jump"), QString::number(ms));
    if (d.state != kPlaying && d.state != kPaused) return;
    d.posAtRef = std::clamp<std::int64_t>(ms, 0, std::int64_t(d.lengthSec) * 1000);
    d.refMs = NowMs();
    if (d.state == kPlaying) ArmEnd(deck);
}

void SimulatedPlayerLink::SetVolume(int deck, int volume) {
    if (!Alive(deck)) return;
    At(deck).volume = std::clamp(volume, 0, 255);
    Emit(deck, QStringLiteral("volume"), QString::number(At(deck).volume));
}

void SimulatedPlayerLink::TogglePause(int deck) {
    if (!Alive(deck)) return;
    Deck& d = At(deck);
    Emit(deck, d.state == kPaused ? QStringLiteral("resume") : QStringLiteral("pause"));
    if (d.state == kPlaying) {
        d.posAtRef = PositionMs(deck);
        d.state = kPaused;
        d.endTimer->SetEnabled(false);
    } else if (d.state == kPaused) {
        d.state = kPlaying;
        d.refMs = NowMs();
        ArmEnd(deck);
    }
}

void SimulatedPlayerLink::Stop(int deck) { StopNow(deck, QStringLiteral("stop")); }

// A simulated fade-out takes no time: the deck stops at once.
void SimulatedPlayerLink::StopWithFade(int deck) { StopNow(deck, QStringLiteral("fadestop")); }

void SimulatedPlayerLink::StopNow(int deck, const QString& event) {
    if (!Alive(deck)) return;
    Deck& d = At(deck);
    Emit(deck, event);
    d.state = kStopped;
    d.posAtRef = 0;
    d.endTimer->SetEnabled(false);
}

void SimulatedPlayerLink::HandOver(int deck, const QString& path) {
    if (!Alive(deck)) return;
    Deck& d = At(deck);
    Emit(deck, QStringLiteral("load"), path);
    d.endTimer->SetEnabled(false);
    d.failTimer->SetEnabled(false);
    d.file = path;
    d.posAtRef = 0;
    d.refMs = NowMs();
    const std::uint32_t seconds = m_lengthOf(path);
    if (seconds == 0) {  // nothing playable: the deck drops what it had and stays stopped
        d.state = kStopped;
        d.lengthSec = -1;
        d.failure = News::Failed;
        d.failTimer->SetEnabled(true);
        return;
    }
    d.lengthSec = int(std::min<std::uint32_t>(seconds, 0x7fffffff / 1000));
    d.posAtRef = std::min<std::int64_t>(d.startMs, d.lengthSec * 1000LL);
    d.state = kPlaying;
    ArmEnd(deck);
}

void SimulatedPlayerLink::SetPlayback(int deck, double, double startSec) {
    At(deck).startMs = std::llround(std::max(startSec, 0.0) * 1000);
}

void SimulatedPlayerLink::Cue(int deck, const QString& path) {
    if (!Alive(deck) || At(deck).state != kStopped || m_lengthOf(path) != 0) return;
    At(deck).failure = News::CueFailed;
    At(deck).failTimer->SetEnabled(true);
}

int SimulatedPlayerLink::Volume(int deck) const { return At(deck).volume; }
QString SimulatedPlayerLink::File(int deck) const { return At(deck).file; }

bool SimulatedPlayerLink::Audible(int deck) {
    return PlayState(deck) == kPlaying && At(deck).volume > 0;
}

void SimulatedPlayerLink::SetAnswering(int deck, bool answering) { At(deck).answering = answering; }

void SimulatedPlayerLink::Kill(int deck) {
    Deck& d = At(deck);
    d.dead = true;
    d.state = kStopped;
    d.endTimer->SetEnabled(false);
}
