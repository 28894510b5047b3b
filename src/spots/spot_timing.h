#pragma once

#include <QDateTime>

/// When a quarter's spots play, as the runner plays them and the week's check foresees them.
namespace spot_timing {

/// A quarter's spots start this many seconds before the quarter begins.
inline constexpr int kLeadSeconds = 5;

/// The minute before a quarter: the manual mode's warning shows in it, and the run starts
/// in it.
bool IsRunMinute(int minute);
/// A tick at this minute and second of the clock may start the run of the quarter that
/// begins next.
bool RunDue(int minute, int second);
/// The reading of the clock from which the run of the quarter beginning at `quarterStart`
/// is due.
QDateTime RunDueAt(const QDateTime& quarterStart);
/// The reverse: the quarter whose run falls due at `reading`, when it is a whole quarter.
QDateTime QuarterDueAt(const QDateTime& reading);

}  // namespace spot_timing
