#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

#include "base/result.h"

/// Day programs: a weekday is 48 half-hour slots, stored one line a slot in the day file
/// named by its weekday number ("0" Sunday … "6" Saturday). A slot holds "###NULL###"
/// (nothing), a program value (a program starts here) or "###SAME###" (the program
/// before goes on).
namespace day_program {

inline constexpr int kSlotCount = 48;
inline const QString kNullSlot = QStringLiteral("###NULL###");
inline const QString kSameSlot = QStringLiteral("###SAME###");

/// 0 = Sunday … 6 = Saturday.
int WeekdayNumber(const QDate& date);
/// The slot of a clock time: hour × 2, plus 1 from minute 30 on.
int SlotOfTime(int hour, int minute);
/// "hh:mm" of the start of a slot; slot 48 gives "24:00".
QString SlotToTime(int slot);

/// daysPath + weekday number.
QString DayFilePath(const QString& daysPath, int weekday);

/// The 48 slots of a weekday (always 48 lines). A missing file is an empty day; a short
/// file reads its missing slots as "###NULL###", and lines past the 48th are not slots. An
/// existing file that cannot be read is an error with the system's message.
ReadResult<QStringList> ReadDay(const QString& daysPath, int weekday);
/// Replaces the day file with the 48 slots; an error with the system's message on failure.
Result WriteDay(const QString& daysPath, int weekday, const QStringList& slots);

/// The run of slots that slot `slot` belongs to: back over "###SAME###" to the start
/// (never before slot 0) and forward over "###SAME###" to the slot after the end.
struct ProgramSpan {
    int startSlot = 0;
    int endSlot = 0;  ///< the slot after the last one, 48 at the end of the day
};
ProgramSpan SpanOfSlot(const QStringList& slots, int slot);
/// Whether a program set on a weekday over a span changes what plays at `now`; an edit
/// of another day, or of other hours of today, is read when its time comes.
bool ChangesProgramPlaying(int weekday, const ProgramSpan& span, const QDateTime& now);

/// One row of a day's program list: "hh:mm - hh:mm" + five spaces + the start slot's value.
struct ProgramRow {
    QString text;
    int startSlot = 0;  ///< RowStartSlot
    int endSlot = 0;    ///< RowEndSlot
};
/// The programs of a day in slot order; empty slots make no row. A "###SAME###" where a
/// program would start (slot 0, or after an empty slot) is a row of its own.
std::vector<ProgramRow> ProgramRows(const QStringList& slots);

}  // namespace day_program
