#pragma once

#include <QString>
#include <array>

#include "base/settings_table.h"

class Decks;

/// The operator's direct controls of the current deck: pause, restart, jumps by the
/// seconds in Editsec1, the three cue memories and the manual/automatic switch.
class Transport {
public:
    explicit Transport(Decks& decks);

    /// Editsec1: seconds of a jump, read at each jump (30 when not a number).
    QString Editsec1 = QStringLiteral("30");
    /// CuePoint[1..3] in milliseconds; index 0 is unused.
    std::array<int, 4> CuePoint{0, 0, 0, 0};

    /// LabelPausePlay1 and the pressed state of ButtonPause20.
    QString LabelPausePlay1 = QStringLiteral("|>");
    bool PauseDown = false;

    /// SpeedButtonManual1: down = manual, nothing starts by itself.
    bool ManualMode = false;
    QString ManualCaption = QStringLiteral("AutoPlay");

    /// ButtonPause20: toggle pause, then show the state the deck reports.
    void Pause();
    /// Shows a play state (3 = paused) on the pause label and toggle.
    void ShowPlayState(int state);
    void Restart();
    void JumpBackward();
    void JumpForward();
    int JumpSeconds() const;
    /// MEM n (1..3): remember the position.
    void StoreCue(int n);
    /// Play MEM n: jump to it within whatever track is current.
    void RecallCue(int n);
    void SetManual(bool down);

    /// Editsec1 as JumpSec, as the station's settings keep it.
    SettingsTable& Settings() { return m_settings; }

private:
    void JumpBy(long long ms);

    Decks& m_decks;
    SettingsTable m_settings;
};
