#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "schedule/day_program.h"

struct ProgramLock;

/// A modal choice the UI presents for a command: the dialog's caption, its items, and
/// whether several may be chosen. The UI passes the operator's answer back to the command.
struct Chooser {
    QString caption;
    QStringList items;
    bool multiSelect = false;
};
/// The list chooser "Select a Program" over the names the Lists tab shows.
Chooser ListChooser(const QStringList& listNames);
/// The day chooser "Week": its item index is a weekday number.
Chooser WeekChooser();
/// The captions of the seven day tabs, Sunday first.
QStringList DayTabNames();

/// The program value of the lists chosen, in the chooser's order: one list gives its bare
/// name, several give each name followed by "|". A program plays at most 11 lists; only
/// the first 11 are taken.
QString JoinSelectedLists(const QStringList& selected);

/// The Calendar tab: the day being edited (`CalendarDay`), its rows in `ListBoxProgram1`,
/// the start and end hours offered while a new program is being added, and the tab's
/// commands. Every command returns its result for the operator; on a failed write the day
/// in memory keeps the change. While the programs are locked every command that would
/// change a day refuses with an error.
class Calendar : public QObject {
    Q_OBJECT
public:
    /// daysPath ends in "/" (or "\").
    Calendar(QString daysPath, const ProgramLock& lock);

    struct HourChoice {
        QString text;  ///< "hh:mm"
        int slot = 0;  ///< StartHourSlot / EndHourSlot
    };

    const QStringList& CalendarDay() const { return m_day; }
    /// The weekday held in CalendarDay, -1 before a day could be read.
    int CalendarDayIndex() const { return m_dayIndex; }
    bool CalendarReady() const { return m_ready; }
    /// The tab shown in `TabControl1` (weekday number).
    int TabIndex() const { return m_tabIndex; }
    /// The rows of `ListBoxProgram1` with their RowStartSlot / RowEndSlot.
    const std::vector<day_program::ProgramRow>& Rows() const { return m_rows; }
    /// The row the operator chose, -1 for none; every showing of the day clears it.
    int SelectedRow() const { return m_selectedRow; }
    void SelectRow(int row);

    /// `ComboBoxStartHour1` and `ComboBoxEndHour1`: entries, chosen entry (-1 none), enabled.
    const std::vector<HourChoice>& StartHours() const { return m_startHours; }
    const std::vector<HourChoice>& EndHours() const { return m_endHours; }
    int StartHourIndex() const { return m_startIndex; }
    int EndHourIndex() const { return m_endIndex; }
    bool StartHoursEnabled() const { return m_startEnabled; }
    bool EndHoursEnabled() const { return m_endEnabled; }

    /// Start-up: shows today's day and marks the calendar ready. The caller also moves
    /// the spot editor's day and sets LastProgramSlot to the slot of the current time.
    Result SelectToday(const QDate& today);
    /// Reads a weekday's file into CalendarDay and shows it. A day being added to is
    /// abandoned: its start and end hours belong to the day that was shown.
    Result LoadCalendarDay(int weekday);
    void ShowCalendarDay();
    Result SaveCalendarDay(int weekday);
    /// A weekday's program as the calendar last read or saved it, which is what plays when
    /// the day comes: an edit reaches the air once it is saved, as it reaches the day file.
    /// A day not held yet is read now; one that cannot be read is an error, and is read
    /// again the next time it is asked for.
    ReadResult<QStringList> DayOnAir(int weekday);

    /// NEW: offers every free slot as a start; with one, chooses the first and its ends.
    Result BitBtnNewHourProg1Click();
    void ComboBoxStartHour1Change(int index);
    /// The ends for the chosen start: each following free slot, then the next program's
    /// start (or 24:00).
    void FillEndHours();
    /// End chosen: with lists chosen in the list chooser (empty for "Ακυρο"), the new
    /// program fills its span and the day is saved. The hour choices close either way. More
    /// than 11 lists keep the first 11, with a warning.
    Result ComboBoxEndHour1Change(int endIndex, const QStringList& chosenLists);
    /// Set Program: gives the program of the chosen row new lists; its span stays.
    Result ButtonSetProgr1Click(const QStringList& chosenLists);
    /// Delete: empties the chosen row's span in memory only; the day file follows at its
    /// next save.
    Result BitBtnDelHourProg1Click();
    /// Same as: on "OK" the chosen weekday's file (-1 when none was chosen) replaces the
    /// shown day's file, which is then read again; a day never saved copies nothing.
    /// nullopt is "Ακυρο".
    Result BitBtnIdioProMe1Click(std::optional<int> chosenWeekday);
    /// Day tab change: saves the day left and loads the chosen one; ignored before ready.
    Result TabControl1Change(int weekday);

Q_SIGNALS:
    /// A program of the calendar was set or changed, with its weekday and the span it now
    /// covers, so that the scheduler can reload what plays now if it changed.
    void ProgramsChanged(int weekday, const day_program::ProgramSpan& span);

private:
    bool HoldsDay() const { return m_dayIndex >= 0; }
    void CloseHourChoices();
    Result SetProgramValue(const day_program::ProgramSpan& span, const QStringList& chosenLists);

    QString m_daysPath;
    const ProgramLock& m_lock;
    QStringList m_day;
    int m_dayIndex = -1;
    std::array<std::optional<QStringList>, 7> m_daysOnAir;  // as last read or saved
    int m_tabIndex = 0;
    bool m_ready = false;
    std::vector<day_program::ProgramRow> m_rows;
    int m_selectedRow = -1;
    std::vector<HourChoice> m_startHours;
    std::vector<HourChoice> m_endHours;
    int m_startIndex = -1;
    int m_endIndex = -1;
    bool m_startEnabled = false;
    bool m_endEnabled = false;
};
