#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

class Station;

/// What TFormForStats shows of one spot: the answer of the last statistics command.
struct SpotStatsState {
    static constexpr int kDataRows = 96;  ///< 24 hours × 4 quarters, at least
    QString title;                        ///< LabelStats
    QString total;                        ///< LabelNumberOfStats
    /// StringGridStats: row 0 the weekday names, then the quarters; eight columns a row.
    QList<QStringList> grid;
    /// The first spot file that could not be read (counted as empty); empty when none.
    QString problem;
};

/// What the window shows of the spots, as plain values read off the core.
struct SpotsState {
    // The Spots tab.
    int dayTab = 0;      ///< TabControlSpots, 0 Sunday
    int hour = 0;        ///< ComboBoxHourSpots1's row
    int quarterTab = 0;  ///< TabSet1
    QStringList quarterCaptions;
    QStringList titles;  ///< ListBoxSpots2
    int selected = -1;   ///< its chosen row, -1 for none
    /// "Lock Programs" is on: the tab's edits are refused.
    bool locked = false;

    // "Next Spots".
    QStringList nextTitles;  ///< ListBoxSpotsNow1
    QList<bool> nextChecked;
    bool warningVisible = false;  ///< PanelManualSpotsWarning
    std::uint32_t warningColour = 0;
    int warningSecondsLeft = 0;

    SpotStatsState stats;
};

/// Read on the core's thread.
SpotsState SpotsStateOf(const Station& station);
