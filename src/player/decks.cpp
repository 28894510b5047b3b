#include "player/decks.h"

#include <QStandardPaths>
#include <algorithm>
#include <limits>

#include "player/player_link.h"

Decks::Decks(PlayerLink& link) : m_link(link) { m_settings.Add("WinAmpPath", WinAmpPath); }

void Decks::RestartPlayers() {
    for (int deck = 0; deck < 2; ++deck) m_link.Restart(deck);
}

void Decks::Launch() {
    if (!m_link.ProgramExists(WinAmpPath)) {
#ifdef Q_OS_WIN
        WinAmpPath = StartFolder + QStringLiteral("winamp.exe");
#else
        WinAmpPath = QStandardPaths::findExecutable(QStringLiteral("mpv"));
#endif
    }
    for (int deck = 0; deck < 2; ++deck) {
        FindDeck(deck);
        // The link reuses an instance left running by an earlier run, never doubles it,
        // and keeps it as its own; a program that is not there is the link's to report.
        m_link.Launch(deck, WinAmpPath);
    }
}

bool Decks::FindDeck(int deck) {
    PlayerHandles[deck & 1] = m_link.Find(deck & 1);
    return PlayerHandles[deck & 1];
}

void Decks::Exchange() { std::swap(CurrentDeck, NextDeck); }

int Decks::PlayState(int deck) { return Found(deck) ? m_link.PlayState(deck & 1) : 0; }
int Decks::PositionMs(int deck) { return Found(deck) ? m_link.PositionMs(deck & 1) : 0; }
QString Decks::File(int deck) const { return m_link.File(deck); }

int Decks::LengthSec(int deck) { return Found(deck) ? m_link.LengthSec(deck & 1) : 0; }

void Decks::JumpTo(int deck, long long ms) {
    if (!Found(deck)) return;
    // A player takes a target below 0 as counted from the end of the track: a jump back
    // in the first seconds would cut the song. Past the end is the end, when it is known.
    const int lengthSec = m_link.LengthSec(deck & 1);
    const long long end = lengthSec > 0 ? lengthSec * 1000LL : std::numeric_limits<int>::max();
    m_link.JumpTo(deck & 1, int(std::clamp(ms, 0LL, end)));
}

int Decks::PlayerVolume(int percent) { return std::clamp(percent, 0, 100) * 255 / 100; }

void Decks::SetVolumePercent(int deck, int percent) {
    if (Found(deck)) m_link.SetVolume(deck & 1, PlayerVolume(percent));
}

void Decks::TogglePause(int deck) {
    if (Found(deck)) m_link.TogglePause(deck & 1);
}
void Decks::Stop(int deck) {
    if (Found(deck)) m_link.Stop(deck & 1);
}
void Decks::StopWithFade(int deck) {
    if (Found(deck)) m_link.StopWithFade(deck & 1);
}

void Decks::LoadFileIntoDeck(int deck, const QString& path) { m_link.HandOver(deck & 1, path); }

void Decks::SetPlayback(int deck, double gainDb, double startSec) {
    if (Found(deck)) m_link.SetPlayback(deck & 1, gainDb, startSec);
}

void Decks::Cue(int deck, const QString& path) {
    if (!path.isEmpty() && Found(deck)) m_link.Cue(deck & 1, path);
}
