#pragma once

#include <QString>
#include <QStringList>

#include "base/result.h"

/// Spot files: one per weekday and quarter in the spots folder, named "d-q" (weekday 0
/// Sunday … 6 Saturday, quarter 0 at hh:00 … 3 at hh:45). Each holds 240 lines, line
/// hour × 10 + position; a line is a spot's path or "###NULL###". The spots of an hour are
/// its lines up to the first "###NULL###".
namespace spot_file {

inline constexpr int kHours = 24;
inline constexpr int kSpotsPerSlot = 10;
inline constexpr int kLines = kHours * kSpotsPerSlot;
inline const QString kNullSpot = QStringLiteral("###NULL###");

/// spotsPath + "d-q"; empty for a weekday or quarter out of range, so that no caller can
/// name a file outside the folder.
QString Path(const QString& spotsPath, int weekday, int quarter);

/// At least 240 lines. A missing file is an empty schedule; a short file is filled up with
/// "###NULL###". Lines past the 240th belong to no slot, but are kept as they are, so that
/// writing the lines back loses none of the file. A file that is no spot file (NUL bytes,
/// over 1 MB, unreadable) reads as empty with an error naming it.
ReadResult<QStringList> Read(const QString& spotsPath, int weekday, int quarter);
/// Replaces the file atomically; an error with the system's reason on failure.
Result Write(const QString& spotsPath, int weekday, int quarter, const QStringList& lines);

/// The spots of `hour` (0..23) in a file of 240 lines: up to the first "###NULL###".
QStringList SlotSpots(const QStringList& lines, int hour);

}  // namespace spot_file
