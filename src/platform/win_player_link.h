#pragma once

#include <QString>
#include <array>

#include "player/player_link.h"

/// The decks as two Winamp instances on Windows: found by window class, asked and told
/// by window messages, and handed files through the player program's command line.
class WinPlayerLink final : public PlayerLink {
public:
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

private:
    long long Send(int deck, unsigned message, long long wParam, long long lParam) const;
    void Start(const QString& parameters) const;

    QString m_program;
    std::array<void*, 2> m_handles{};  // the decks' windows; null while not found
};
