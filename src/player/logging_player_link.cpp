#include "player/logging_player_link.h"

LoggingPlayerLink::LoggingPlayerLink(PlayerLink& inner) : m_inner(inner) {
    m_inner.SetListener([this](int deck, News news) {
        if (news == News::Ended) {
            m_seenPlaying[deck & 1] = false;
            Emit(deck, QStringLiteral("ended"));
        }
        Tell(deck, news);
    });
}

void LoggingPlayerLink::Emit(int deck, const QString& event, const QString& detail) {
    Q_EMIT DeckEvent(deck, event, detail);
}

bool LoggingPlayerLink::ReportDeath(int deck) {
    const Deaths deaths = m_inner.DeathsOf(deck);
    int& reported = m_deathsReported[deck & 1];
    if (deaths.count == reported) return false;
    reported = deaths.count;
    m_seenPlaying[deck & 1] = false;
    Emit(deck, QStringLiteral("dead"), deaths.lastReason);
    return true;
}

int LoggingPlayerLink::PlayState(int deck) {
    const int state = m_inner.PlayState(deck);
    if (ReportDeath(deck)) return state;
    bool& wasPlaying = m_seenPlaying[deck & 1];
    if (state == kPlaying) wasPlaying = true;
    if (wasPlaying && state != kPlaying && state != kPaused) {
        wasPlaying = false;
        Emit(deck, QStringLiteral("ended"));
    }
    return state;
}

void LoggingPlayerLink::JumpTo(int deck, int ms) {
    Emit(deck, QStringLiteral("jump"), QString::number(ms));
    m_inner.JumpTo(deck, ms);
}

void LoggingPlayerLink::SetVolume(int deck, int volume) {
    Emit(deck, QStringLiteral("volume"), QString::number(volume));
    m_inner.SetVolume(deck, volume);
}

void LoggingPlayerLink::TogglePause(int deck) {
    // The same command both ways: the log says which way it went.
    Emit(deck,
         m_inner.PlayState(deck) == kPaused ? QStringLiteral("resume") : QStringLiteral("pause"));
    m_inner.TogglePause(deck);
}

void LoggingPlayerLink::Stop(int deck) {
    m_seenPlaying[deck & 1] = false;
    Emit(deck, QStringLiteral("stop"));
    m_inner.Stop(deck);
}

void LoggingPlayerLink::StopWithFade(int deck) {
    m_seenPlaying[deck & 1] = false;
    Emit(deck, QStringLiteral("fadestop"));
    m_inner.StopWithFade(deck);
}

void LoggingPlayerLink::HandOver(int deck, const QString& path) {
    // A death found only now came before this file.
    ReportDeath(deck);
    m_seenPlaying[deck & 1] = false;
    Emit(deck, QStringLiteral("load"), path);
    m_inner.HandOver(deck, path);
}
