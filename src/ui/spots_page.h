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
class StationClient;
class StatsWindow;
struct SpotsState;

/// The Spots tab `TabSheetSpots`: the weekday tabs, the hour and its four quarters, the
/// spots of that slot in playing order with their moves, delete and "Same as...", and the
/// pop-up menu `PopupMenuSpots` that opens the statistics of the spot chosen. The weekday
/// is chosen in `TFormWeek1`.
class SpotsPage final : public QWidget {
    Q_OBJECT
public:
    SpotsPage(StationClient& client, ChooserDialog& week, StatsWindow& stats, QWidget* parent);
    void Redraw(const SpotsState& spots);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpSlotChoice();
    void SetUpSpots();
    QVBoxLayout* BuildCommands();
    QPushButton* SpotButton(const QString& name, const QIcon& icon, const QString& hint,
                            const QString& verb);
    /// Sends a command of the tab; a refusal or failure is shown when it answers.
    void Send(const QString& verb, const QString& argument = {});
    void SameAs();
    /// "Show Stats" (the list) or "Show Program" (the timetable) of the spot chosen.
    void ShowStatistics(bool timetable);

    StationClient& m_client;
    ChooserDialog& m_weekChooser;
    StatsWindow& m_stats;
    bool m_drawing = false;
    QTabBar* m_days;
    QComboBox* m_hours;
    QTabBar* m_quarters;
    QListWidget* m_spots;
    QMenu* m_menu;
    QStringList m_shownTitles;
    int m_selected = -1;  // the chosen row as the core last told it
};
