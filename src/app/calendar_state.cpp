#include "app/calendar_state.h"

#include "app/station.h"

namespace {

ChooserState ChooserOf(const Chooser& chooser) {
    return {chooser.caption, chooser.items, chooser.multiSelect};
}

QStringList HourTexts(const std::vector<Calendar::HourChoice>& hours) {
    QStringList texts;
    for (const Calendar::HourChoice& h : hours) texts.append(h.text);
    return texts;
}

}  // namespace

CalendarState CalendarStateOf(const Station& station) {
    const Calendar& calendar = station.CalendarTab();
    CalendarState state;
    state.tabIndex = calendar.TabIndex();
    for (const day_program::ProgramRow& row : calendar.Rows()) state.rows.append(row.text);
    state.selectedRow = calendar.SelectedRow();
    state.startHours = HourTexts(calendar.StartHours());
    state.startHourIndex = calendar.StartHourIndex();
    state.startHoursEnabled = calendar.StartHoursEnabled();
    state.endHours = HourTexts(calendar.EndHours());
    state.endHourIndex = calendar.EndHourIndex();
    state.endHoursEnabled = calendar.EndHoursEnabled();
    state.listChooser = ChooserOf(ListChooser(station.Lists().ListNames()));
    state.weekChooser = ChooserOf(WeekChooser());
    const WeekCheckJob& check = station.WeekCheck();
    state.weekChecking = check.Running();
    state.weekChecksDone = check.Done();
    state.weekWarnings = check.Warnings();
    return state;
}

QStringList CalendarDayTabs() { return DayTabNames(); }
