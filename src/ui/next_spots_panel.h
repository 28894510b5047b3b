#pragma once

#include <QFrame>

class QLabel;
class QListWidget;
class StationClient;
class StatsWindow;
struct SpotsState;

/// "Next Spots": the spots of the quarter that begins next, as a check list
/// (`ListBoxSpotsNow1`) whose unchecked rows the run passes over, and over it, in manual
/// mode, the blinking `PanelManualSpotsWarning` with "Play Spots Normally". A double click
/// on a row opens that spot's statistics.
class NextSpotsPanel final : public QFrame {
    Q_OBJECT
public:
    NextSpotsPanel(StationClient& client, StatsWindow& stats, QWidget* parent);
    void Redraw(const SpotsState& spots);

private:
    QFrame* BuildWarning();
    void ShowStatistics(int row);

    StationClient& m_client;
    StatsWindow& m_stats;
    bool m_drawing = false;
    QListWidget* m_spots;
    QFrame* m_warning;
    QLabel* m_secondsLeft[2] = {};  // the seconds left to accept, on both sides
    QStringList m_shownTitles;
    QList<bool> m_shownChecks;
};
