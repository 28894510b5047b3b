#pragma once

#include <QString>
#include <cstdint>

/// State of the main loop (TimerProgram1) and the texts its tick shows.
struct LoopState {
    /// Ticks still to skip after a start: 10 after a track, 5 after a spot.
    std::uint8_t SettleTicks = 0;
    /// The half-hour slot (0..47) for which the program was last loaded.
    int LastProgramSlot = 0;
    /// The calendar was edited: reload the program at the next tick.
    bool ProgramsChanged = true;
    /// Next was pressed: start the head of the queue at the next tick.
    bool NextTrackNow = false;
};

/// The clock and the times of the current track, as the tick last wrote them.
struct LoopDisplay {
    QString LabelTime1;
    QString LabelLenghtOfTrack;
    QString LabelPlayTime;
    QString LabelRemainingTime;
};

/// Whether a tick in `slot` begins a new program: any slot other than the last one
/// loaded, a later one, the fall from 47 to 0 at midnight, or an earlier one after the
/// clock went back.
bool SlotBegins(int slot, int lastProgramSlot);
