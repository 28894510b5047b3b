#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class Station;

/// A modal choice a page offers before a command: the dialog's caption, its items, and
/// whether several may be chosen.
struct ChooserState {
    QString caption;
    QStringList items;
    bool multiSelect = false;
};

/// One warning of the week's check: when (to the minute), its kind and what and why.
struct WeekWarning {
    QDateTime when;
    QString kind;
    QString detail;
};

/// What the window shows of the calendar, as plain values read off the core: the Calendar
/// tab (`TabControl1`, `ListBoxProgram1`, the hour boxes), its two choosers and the week's
/// check.
struct CalendarState {
    /// The weekday shown (0 Sunday).
    int tabIndex = 0;
    /// The rows of the day shown, and the row chosen (-1 none).
    QStringList rows;
    int selectedRow = -1;
    /// `ComboBoxStartHour1` and `ComboBoxEndHour1`: entries ("hh:mm"), chosen entry (-1
    /// none), enabled.
    QStringList startHours;
    int startHourIndex = -1;
    bool startHoursEnabled = false;
    QStringList endHours;
    int endHourIndex = -1;
    bool endHoursEnabled = false;
    /// "Select a Program" over the Lists tab's names, and the day chooser "Week".
    ChooserState listChooser;
    ChooserState weekChooser;
    /// The week's check: running, how many checks have finished, the last one's warnings.
    bool weekChecking = false;
    int weekChecksDone = 0;
    QList<WeekWarning> weekWarnings;
};

/// Read on the core's thread.
CalendarState CalendarStateOf(const Station& station);
/// The captions of the seven day tabs, Sunday first: fixed, so a page has them before any
/// state comes.
QStringList CalendarDayTabs();
