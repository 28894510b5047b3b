#include "schedule/day_program.h"

#include <algorithm>

#include "base/text_file.h"

namespace day_program {

int WeekdayNumber(const QDate& date) {
    // Qt counts Monday 1 … Sunday 7; the station counts Sunday 0 … Saturday 6.
    return date.dayOfWeek() % 7;
}

int SlotOfTime(int hour, int minute) { return hour * 2 + (minute >= 30 ? 1 : 0); }

QString SlotToTime(int slot) {
    return QStringLiteral("%1:%2")
        .arg(slot / 2, 2, 10, QLatin1Char('0'))
        .arg(slot % 2 == 1 ? QStringLiteral("30") : QStringLiteral("00"));
}

QString DayFilePath(const QString& daysPath, int weekday) {
    return daysPath + QString::number(weekday);
}

ReadResult<QStringList> ReadDay(const QString& daysPath, int weekday) {
    ReadResult<QStringList> day = text_file::ReadLines(DayFilePath(daysPath, weekday));
    QStringList& slots = day.value;
    if (slots.size() > kSlotCount) slots.resize(kSlotCount);
    while (slots.size() < kSlotCount) slots.append(kNullSlot);
    return day;
}

Result WriteDay(const QString& daysPath, int weekday, const QStringList& slots) {
    return text_file::WriteLines(DayFilePath(daysPath, weekday), slots);
}

ProgramSpan SpanOfSlot(const QStringList& slots, int slot) {
    const int count = std::min<int>(static_cast<int>(slots.size()), kSlotCount);
    ProgramSpan span;
    span.startSlot = slot;
    while (span.startSlot > 0 && slots.at(span.startSlot) == kSameSlot) --span.startSlot;
    span.endSlot = slot + 1;
    while (span.endSlot < count && slots.at(span.endSlot) == kSameSlot) ++span.endSlot;
    return span;
}

bool ChangesProgramPlaying(int weekday, const ProgramSpan& span, const QDateTime& now) {
    const int slot = SlotOfTime(now.time().hour(), now.time().minute());
    return weekday == WeekdayNumber(now.date()) && span.startSlot <= slot && slot < span.endSlot;
}

std::vector<ProgramRow> ProgramRows(const QStringList& slots) {
    const int count = std::min<int>(static_cast<int>(slots.size()), kSlotCount);
    std::vector<ProgramRow> rows;
    int s = 0;
    while (s < count) {
        if (slots.at(s) == kNullSlot) {
            ++s;
            continue;
        }
        int e = s + 1;
        while (e < count && slots.at(e) == kSameSlot) ++e;
        rows.push_back({SlotToTime(s) + QStringLiteral(" - ") + SlotToTime(e) +
                            QStringLiteral("     ") + slots.at(s),
                        s, e});
        s = e;
    }
    return rows;
}

}  // namespace day_program
