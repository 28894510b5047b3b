#pragma once

#include <QWidget>

class ChooserDialog;
class QComboBox;
class QIcon;
class QListWidget;
class QMenu;
class QPushButton;
class QTabBar;
class QVBoxLayout;
class Result;
class SpotSchedule;
class Station;
class StatsWindow;

/// The Spots tab `TabSheetSpots`: the weekday tabs, the hour and its four quarters, the
/// spots of that slot in playing order with their moves, delete and "Same as...", and the
/// pop-up menu `PopupMenuSpots` that opens the statistics of the spot chosen. The weekday
/// is chosen in `TFormWeek1`.
class SpotsPage final : public QWidget {
    Q_OBJECT
public:
    SpotsPage(Station& station, ChooserDialog& week, StatsWindow& stats, QWidget* parent);
    void Redraw();

Q_SIGNALS:
    /// The operator acted here: the whole window redraws.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpSlotChoice();
    void SetUpSpots();
    QVBoxLayout* BuildCommands();
    QPushButton* SpotButton(const QString& name, const QIcon& icon, const QString& hint,
                            Result (SpotSchedule::*command)());
    void SameAs();
    /// "Show Stats" (the list) or "Show Program" (the timetable) of the spot chosen.
    void ShowStatistics(bool timetable);

    Station& m_station;
    ChooserDialog& m_weekChooser;
    StatsWindow& m_stats;
    bool m_drawing = false;
    QTabBar* m_days;
    QComboBox* m_hours;
    QTabBar* m_quarters;
    QListWidget* m_spots;
    QMenu* m_menu;
    QStringList m_shownTitles;
};
