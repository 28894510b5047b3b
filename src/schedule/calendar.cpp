#include "schedule/calendar.h"

#include <QFileInfo>

#include "schedule/list_file.h"
#include "schedule/program_lock.h"

using day_program::kNullSlot;
using day_program::kSameSlot;
using day_program::kSlotCount;

Chooser ListChooser(const QStringList& listNames) {
    return {QStringLiteral("Select a Program"), listNames, true};
}

Chooser WeekChooser() {
    return {QStringLiteral("Week"),
            {QStringLiteral("ΚΥΡΙΑΚΗ"), QStringLiteral("ΔΕΥΤΕΡΑ"), QStringLiteral("ΤΡΙΤΗ"),
             QStringLiteral("ΤΕΤΑΡΤΗ"), QStringLiteral("ΠΕΜΠΤΗ"), QStringLiteral("ΠΑΡΑΣΚΕΥΗ"),
             QStringLiteral("ΣΑΒΒΑΤΟ")},
            false};
}

QStringList DayTabNames() {
    return {QStringLiteral("ΚΥΡ"), QStringLiteral("ΔΕΥ"), QStringLiteral("ΤΡΙ"),
            QStringLiteral("ΤΕΤ"), QStringLiteral("ΠΕΜ"), QStringLiteral("ΠΑΡ"),
            QStringLiteral("ΣΑΒ")};
}

QString JoinSelectedLists(const QStringList& selected) {
    const QStringList taken = selected.mid(0, kMaxProgramLists);
    QString value = taken.join(u'|');
    // Several names each end with "|", the last one too; a single name stays bare.
    if (taken.size() > 1) value += u'|';
    return value;
}

Calendar::Calendar(QString daysPath, const ProgramLock& lock)
    : m_daysPath(std::move(daysPath)), m_lock(lock) {
    for (int s = 0; s < kSlotCount; ++s) m_day.append(kNullSlot);
}

Result Calendar::SelectToday(const QDate& today) {
    m_tabIndex = day_program::WeekdayNumber(today);
    Result loaded = LoadCalendarDay(m_tabIndex);
    m_ready = true;
    return loaded;
}

Result Calendar::LoadCalendarDay(int weekday) {
    ReadResult<QStringList> read = day_program::ReadDay(m_daysPath, weekday);
    if (!read.ok()) return read;
    m_day = std::move(read.value);
    m_dayIndex = weekday;
    m_daysOnAir[weekday] = m_day;
    CloseHourChoices();
    m_startHours.clear();
    m_endHours.clear();
    m_startIndex = -1;
    m_endIndex = -1;
    ShowCalendarDay();
    return Result::Ok();
}

void Calendar::ShowCalendarDay() {
    m_rows = day_program::ProgramRows(m_day);
    // A row number means another program once the rows are drawn again.
    m_selectedRow = -1;
}

void Calendar::SelectRow(int row) {
    m_selectedRow = (row >= 0 && row < static_cast<int>(m_rows.size())) ? row : -1;
}

Result Calendar::SaveCalendarDay(int weekday) {
    if (weekday < 0 || weekday > 6) return Result::Ok();
    Result written = day_program::WriteDay(m_daysPath, weekday, m_day);
    if (written.ok()) m_daysOnAir[weekday] = m_day;
    return written;
}

ReadResult<QStringList> Calendar::DayOnAir(int weekday) {
    if (weekday < 0 || weekday > 6)
        return {Result::Error(QStringLiteral("no weekday %1").arg(weekday)), {}};
    if (const std::optional<QStringList>& held = m_daysOnAir[weekday]) return {Result::Ok(), *held};
    ReadResult<QStringList> read = day_program::ReadDay(m_daysPath, weekday);
    if (read.ok()) m_daysOnAir[weekday] = read.value;
    return read;
}

Result Calendar::BitBtnNewHourProg1Click() {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (!HoldsDay()) return Result::Ok();
    std::vector<HourChoice> starts;
    for (int s = 0; s < kSlotCount; ++s) {
        if (m_day.at(s) == kNullSlot) starts.push_back({day_program::SlotToTime(s), s});
    }
    // A full day leaves everything as it was, an open choice included.
    if (starts.empty()) {
        m_startHours.clear();
        m_startIndex = -1;
        return Result::Ok();
    }
    m_startHours = std::move(starts);
    m_startIndex = 0;
    m_startEnabled = true;
    FillEndHours();
    return Result::Ok();
}

void Calendar::ComboBoxStartHour1Change(int index) {
    if (index < 0 || index >= static_cast<int>(m_startHours.size())) return;
    m_startIndex = index;
    FillEndHours();
}

void Calendar::FillEndHours() {
    m_endHours.clear();
    if (m_startIndex < 0 || m_startIndex >= static_cast<int>(m_startHours.size())) return;
    int e = m_startHours[m_startIndex].slot + 1;
    while (e < kSlotCount && (m_day.at(e) == kNullSlot || m_day.at(e) == kSameSlot)) {
        m_endHours.push_back({day_program::SlotToTime(e), e});
        ++e;
    }
    // The start of the next program, or the end of the day, is the last end offered.
    m_endHours.push_back({day_program::SlotToTime(e), e});
    m_endEnabled = true;
    m_endIndex = 0;
}

Result Calendar::ComboBoxEndHour1Change(int endIndex, const QStringList& chosenLists) {
    if (!m_startEnabled || !m_endEnabled || !HoldsDay()) return Result::Ok();
    // A lock switched on while the hours were being chosen ends the choice too.
    Result result = m_lock.Refusal();
    if (result.ok() && endIndex >= 0 && endIndex < static_cast<int>(m_endHours.size()) &&
        m_startIndex >= 0 && !chosenLists.isEmpty()) {
        m_endIndex = endIndex;
        result = SetProgramValue({m_startHours[m_startIndex].slot, m_endHours[endIndex].slot},
                                 chosenLists);
    }
    CloseHourChoices();
    return result;
}

Result Calendar::ButtonSetProgr1Click(const QStringList& chosenLists) {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (m_selectedRow < 0 || chosenLists.isEmpty()) return Result::Ok();
    const day_program::ProgramRow& target = m_rows[m_selectedRow];
    return SetProgramValue({target.startSlot, target.endSlot}, chosenLists);
}

Result Calendar::SetProgramValue(const day_program::ProgramSpan& span,
                                 const QStringList& chosenLists) {
    for (const QString& name : chosenLists.mid(0, kMaxProgramLists)) {
        if (const Result refused = ListNameRefusal(name); !refused.ok())
            return Result::Error(refused.message() +
                                 QStringLiteral(" The program was not changed."));
    }
    m_day[span.startSlot] = JoinSelectedLists(chosenLists);
    for (int s = span.startSlot + 1; s < span.endSlot; ++s) m_day[s] = kSameSlot;
    ShowCalendarDay();
    if (Result saved = SaveCalendarDay(m_dayIndex); !saved.ok()) return saved;
    Q_EMIT ProgramsChanged(m_dayIndex, span);
    if (chosenLists.size() > kMaxProgramLists) {
        return Result::Warning(
            QStringLiteral("A program plays at most %1 lists: the first %1 chosen were kept.")
                .arg(kMaxProgramLists));
    }
    return Result::Ok();
}

Result Calendar::BitBtnDelHourProg1Click() {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (m_selectedRow < 0) return Result::Ok();
    const day_program::ProgramRow target = m_rows[m_selectedRow];
    for (int s = target.startSlot; s < target.endSlot; ++s) m_day[s] = kNullSlot;
    ShowCalendarDay();
    return Result::Ok();
}

Result Calendar::BitBtnIdioProMe1Click(std::optional<int> chosenWeekday) {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (!chosenWeekday) return Result::Ok();
    const int source = *chosenWeekday;
    // A day that was never saved has no file; the shown day's file then stays as it is.
    if (source >= 0 && source <= 6 &&
        QFileInfo(day_program::DayFilePath(m_daysPath, source)).isFile()) {
        const ReadResult<QStringList> day = day_program::ReadDay(m_daysPath, source);
        if (!day.ok()) return day;
        m_daysOnAir[source] = day.value;
        if (Result written = day_program::WriteDay(m_daysPath, m_tabIndex, day.value);
            !written.ok()) {
            return written;
        }
        m_daysOnAir[m_tabIndex] = day.value;
    }
    return LoadCalendarDay(m_tabIndex);
}

Result Calendar::TabControl1Change(int weekday) {
    if (!m_ready || weekday < 0 || weekday > 6) return Result::Ok();
    if (Result saved = SaveCalendarDay(m_dayIndex); !saved.ok()) return saved;
    if (Result loaded = LoadCalendarDay(weekday); !loaded.ok()) return loaded;
    m_tabIndex = weekday;
    return Result::Ok();
}

void Calendar::CloseHourChoices() {
    m_startEnabled = false;
    m_endEnabled = false;
}
