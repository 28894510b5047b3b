#include "player/transport.h"

#include "base/number_text.h"
#include "player/decks.h"
#include "player/player_link.h"

Transport::Transport(Decks& decks) : m_decks(decks) { m_settings.Add("JumpSec", Editsec1); }

void Transport::Pause() {
    m_decks.TogglePause(m_decks.CurrentDeck);
    ShowPlayState(m_decks.PlayState(m_decks.CurrentDeck));
}

void Transport::ShowPlayState(int state) {
    PauseDown = state == PlayerLink::kPaused;
    LabelPausePlay1 = PauseDown ? QStringLiteral("||") : QStringLiteral("|>");
}

void Transport::Restart() { m_decks.JumpTo(m_decks.CurrentDeck, 0); }

int Transport::JumpSeconds() const { return IntFromText(Editsec1, 30); }

void Transport::JumpBy(long long ms) {
    const int deck = m_decks.CurrentDeck;
    m_decks.JumpTo(deck, m_decks.PositionMs(deck) + ms);
}

void Transport::JumpBackward() { JumpBy(-1000LL * JumpSeconds()); }
void Transport::JumpForward() { JumpBy(1000LL * JumpSeconds()); }

void Transport::StoreCue(int n) {
    if (n >= 1 && n <= 3) CuePoint[n] = m_decks.PositionMs(m_decks.CurrentDeck);
}

void Transport::RecallCue(int n) {
    if (n >= 1 && n <= 3) m_decks.JumpTo(m_decks.CurrentDeck, CuePoint[n]);
}

void Transport::SetManual(bool down) {
    ManualMode = down;
    ManualCaption = down ? QStringLiteral("Manual") : QStringLiteral("AutoPlay");
}
