#pragma once

// Dates and times typed by a person, read with a reason for every refusal.

#include <QDate>
#include <QDateTime>
#include <QString>

#include "base/result.h"

/// "YYYY-MM-DD HH:MM:SS" as a local time. Otherwise an error whose message says why: not
/// that shape, a year with a sign, a day the calendar lacks, no time of a day, or a time
/// the clocks skip when they go forward.
ReadResult<QDateTime> ParseLocalTime(const QString& text);
/// ParseDay's message for a text that is not in the shape of a day at all.
inline const QString kNotADay = QStringLiteral("not YYYY-MM-DD");
/// "YYYY-MM-DD" as a day, or an error saying why it is none.
ReadResult<QDate> ParseDay(const QString& text);
