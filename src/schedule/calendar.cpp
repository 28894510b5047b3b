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

QString Calendar::SelectToday(const QDate& today) {
    m_tabIndex = day_program::WeekdayNumber(today);
    const QString message = LoadCalendarDay(m_tabIndex);
    m_ready = true;
    return message;
}

QString Calendar::LoadCalendarDay(int weekday) {
    day_program::DayReadResult read = day_program::ReadDay(m_daysPath, weekday);
    if (!read.ok()) return read.error;
    m_day = std::move(read.slots);
    m_dayIndex = weekday;
    CloseHourChoices();
    m_startHours.clear();
    m_endHours.clear();
    m_startIndex = -1;
    m_endIndex = -1;
    ShowCalendarDay();
    return {};
}

void Calendar::ShowCalendarDay() {
    m_rows = day_program::ProgramRows(m_day);
    // A row number means another program once the rows are drawn again.
    m_selectedRow = -1;
}

void Calendar::SelectRow(int row) {
    m_selectedRow = (row >= 0 && row < static_cast<int>(m_rows.size())) ? row : -1;
}

QString Calendar::SaveCalendarDay(int weekday) {
    if (weekday < 0 || weekday > 6) return {};
    return day_program::WriteDay(m_daysPath, weekday, m_day);
}

QString Calendar::BitBtnNewHourProg1Click() {
    if (const QString refused = m_lock.Refusal(); !refused.isEmpty()) return refused;
    if (!HoldsDay()) return {};
    std::vector<HourChoice> starts;
    for (int s = 0; s < kSlotCount; ++s) {
        if (m_day.at(s) == kNullSlot) starts.push_back({day_program::SlotToTime(s), s});
    }
    // A full day leaves everything as it was, an open choice included.
    if (starts.empty()) {
        m_startHours.clear();
        m_startIndex = -1;
        return {};
    }
    m_startHours = std::move(starts);
    m_startIndex = 0;
    m_startEnabled = true;
    FillEndHours();
    return {};
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

QString Calendar::ComboBoxEndHour1Change(int endIndex, const QStringList& chosenLists) {
    if (!m_startEnabled || !m_endEnabled || !HoldsDay()) return {};
    // A lock switched on while the hours were being chosen ends the choice too.
    QString message = m_lock.Refusal();
    if (message.isEmpty() && endIndex >= 0 && endIndex < static_cast<int>(m_endHours.size()) &&
        m_startIndex >= 0 && !chosenLists.isEmpty()) {
        m_endIndex = endIndex;
        message = SetProgramValue({m_startHours[m_startIndex].slot, m_endHours[endIndex].slot},
                                  chosenLists);
    }
    CloseHourChoices();
    return message;
}

QString Calendar::ButtonSetProgr1Click(const QStringList& chosenLists) {
    if (const QString refused = m_lock.Refusal(); !refused.isEmpty()) return refused;
    if (m_selectedRow < 0 || chosenLists.isEmpty()) return {};
    const day_program::ProgramRow& target = m_rows[m_selectedRow];
    return SetProgramValue({target.startSlot, target.endSlot}, chosenLists);
}

QString Calendar::SetProgramValue(const day_program::ProgramSpan& span,
                                  const QStringList& chosenLists) {
    for (const QString& name : chosenLists.mid(0, kMaxProgramLists)) {
        if (const QString refused = ListNameRefusal(name); !refused.isEmpty())
            return refused + QStringLiteral(" The program was not changed.");
    }
    m_day[span.startSlot] = JoinSelectedLists(chosenLists);
    for (int s = span.startSlot + 1; s < span.endSlot; ++s) m_day[s] = kSameSlot;
    ShowCalendarDay();
    if (const QString error = SaveCalendarDay(m_dayIndex); !error.isEmpty()) return error;
    Q_EMIT ProgramsChanged(m_dayIndex, span);
    if (chosenLists.size() > kMaxProgramLists) {
        return QStringLiteral("A program plays at most %1 lists: the first %1 chosen were kept.")
            .arg(kMaxProgramLists);
    }
    return {};
}

QString Calendar::BitBtnDelHourProg1Click() {
    if (const QString refused = m_lock.Refusal(); !refused.isEmpty()) return refused;
    if (m_selectedRow < 0) return {};
    const day_program::ProgramRow target = m_rows[m_selectedRow];
    for (int s = target.startSlot; s < target.endSlot; ++s) m_day[s] = kNullSlot;
    ShowCalendarDay();
    return {};
}

QString Calendar::BitBtnIdioProMe1Click(std::optional<int> chosenWeekday) {
    if (const QString refused = m_lock.Refusal(); !refused.isEmpty()) return refused;
    if (!chosenWeekday) return {};
    const int source = *chosenWeekday;
    // A day that was never saved has no file; the shown day's file then stays as it is.
    if (source >= 0 && source <= 6 &&
        QFileInfo(day_program::DayFilePath(m_daysPath, source)).isFile()) {
        const day_program::DayReadResult day = day_program::ReadDay(m_daysPath, source);
        if (!day.ok()) return day.error;
        if (const QString error = day_program::WriteDay(m_daysPath, m_tabIndex, day.slots);
            !error.isEmpty()) {
            return error;
        }
    }
    return LoadCalendarDay(m_tabIndex);
}

QString Calendar::TabControl1Change(int weekday) {
    if (!m_ready || weekday < 0 || weekday > 6) return {};
    if (const QString error = SaveCalendarDay(m_dayIndex); !error.isEmpty()) return error;
    if (const QString error = LoadCalendarDay(weekday); !error.isEmpty()) return error;
    m_tabIndex = weekday;
    return {};
}

void Calendar::CloseHourChoices() {
    m_startEnabled = false;
    m_endEnabled = false;
}
