#pragma once

#include <QWidget>

class ChooserDialog;
class QComboBox;
class QListWidget;
class QPushButton;
class QTabBar;
class QVBoxLayout;
class Station;

/// The Calendar tab `TabSheetCalendar`: the day tabs, the programs of the day shown and
/// the commands NEW (start hour, end hour, lists), "Set Program...", delete and
/// "Same as...". The lists are chosen in `TFormPrograms`, the day in `TFormWeek1`.
class CalendarPage final : public QWidget {
    Q_OBJECT
public:
    CalendarPage(Station& station, ChooserDialog& lists, ChooserDialog& week, QWidget* parent);
    void Redraw();
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
    /// Shows why an edit is refused while the programs are locked, before any dialog opens.
    bool RefusedWhileLocked();
    void SetProgram();
    int SelectedRow() const;

    Station& m_station;
    ChooserDialog& m_listChooser;
    ChooserDialog& m_weekChooser;
    bool m_drawing = false;
    QTabBar* m_days;
    QListWidget* m_programs;
    QComboBox* m_startHours;
    QComboBox* m_endHours;
    QStringList m_shownRows;
};
