#pragma once

#include <QString>
#include <array>

#include "base/settings_table.h"

class PlayerLink;

/// The two player decks: which one plays the current track, whether each was found,
/// and the command set guarded by that: a deck that is not found answers stopped,
/// position 0 and length 0, and receives no command except a hand-over (which goes
/// through the player program and may reach an instance started since). A deck not
/// found yet is looked up again at each command, so a player that came up late is used.
class Decks {
public:
    explicit Decks(PlayerLink& link);

    QString WinAmpPath;   ///< player program; completed at launch when no file is there
    QString StartFolder;  ///< ends in a separator; home of the Windows fallback "winamp.exe"

    /// Whether each instance was found at its last lookup (a window handle other than 0).
    std::array<bool, 2> PlayerHandles{false, false};
    int CurrentDeck = 0;
    int NextDeck = 1;
    bool SecondPlayerFound = false;

    /// Completes WinAmpPath when no program is there, looks each deck up, and has the link
    /// reuse each running instance or start the missing one.
    void Launch();
    /// Ends both players and starts them again.
    void RestartPlayers();
    /// Looks instance `deck` up again and remembers the answer.
    bool FindDeck(int deck);
    /// Exchanges CurrentDeck and NextDeck (only the crossfade start does this).
    void Exchange();

    int PlayState(int deck);
    int PositionMs(int deck);
    int LengthSec(int deck);
    /// The file the deck has, as its player tells (empty when it cannot).
    QString File(int deck) const;
    /// Jumps within the track: a target below 0 goes to 0, one past the known end to the end.
    void JumpTo(int deck, long long ms);
    /// Sends percent p (kept within 0..100) as the player volume p × 255 div 100.
    void SetVolumePercent(int deck, int percent);
    void TogglePause(int deck);
    void Stop(int deck);
    void StopWithFade(int deck);
    /// Hands a file over: the deck drops what it played and plays the file.
    void LoadFileIntoDeck(int deck, const QString& path);
    /// Readies a file on a stopped deck, so that handing it over later starts it at once.
    void Cue(int deck, const QString& path);
    /// The gain in dB and the start in seconds of the deck's next file.
    void SetPlayback(int deck, double gainDb, double startSec);

    static int PlayerVolume(int percent);

    /// WinAmpPath, as the station's settings keep it.
    SettingsTable& Settings() { return m_settings; }

private:
    bool Found(int deck) { return PlayerHandles[deck & 1] || FindDeck(deck); }

    PlayerLink& m_link;
    SettingsTable m_settings;
};
