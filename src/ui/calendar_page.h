#pragma once

#include <QWidget>

#include "app/station_client.h"

class ChooserDialog;
class QComboBox;
class QListWidget;
class QPushButton;
class QTabBar;
class QVBoxLayout;

/// The Calendar tab `TabSheetCalendar`: the day tabs, the programs of the day shown and
/// the commands NEW (start hour, end hour, lists), "Set Program...", delete and
/// "Same as...". The lists are chosen in `TFormPrograms`, the day in `TFormWeek1`.
class CalendarPage final : public QWidget {
    Q_OBJECT
public:
    CalendarPage(StationClient& client, ChooserDialog& lists, ChooserDialog& week, QWidget* parent);
    void Redraw(const CalendarState& state);
    /// Shows a weekday (0 Sunday), as a click on its day tab does.
    void ShowDay(int weekday);

Q_SIGNALS:
    /// The operator acted here: the whole window redraws.
    void changed();

private:
    void SetUpDayTabs();
    QVBoxLayout* BuildCommands();
    QPushButton* BuildNewProgramButton();
    void SetUpHourBoxes();
    QPushButton* BuildSetProgramButton();
    QPushButton* BuildDeleteButton();
    QPushButton* BuildSameAsButton();
    /// Sends a command; its message (a warning or an error) is shown, and the whole window
    /// redraws unless told not to.
    void Send(const QString& verb, const QString& argument, bool windowRedraws = true);
    /// Runs `ask` once the core answers that the calendar may be edited now; otherwise
    /// shows why not, before any dialog opens.
    void WhenEditable(std::function<void()> ask);
    void SetProgram();
    void EndHourChosen(int index);
    int SelectedRow() const;
    const CalendarState& Shown() const { return m_client.State().calendar; }

    StationClient& m_client;
    ChooserDialog& m_listChooser;
    ChooserDialog& m_weekChooser;
    bool m_drawing = false;
    QTabBar* m_days;
    QListWidget* m_programs;
    QComboBox* m_startHours;
    QComboBox* m_endHours;
    QStringList m_shownRows;
};
