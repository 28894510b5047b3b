#pragma once

#include <QDialog>

#include "app/spots_state.h"

class QLabel;
class QTableWidget;

/// The statistics window `TFormForStats`: when and how often one spot is scheduled in the
/// week, as the list of times per weekday ("Show Stats") or as a timetable ("Show
/// Program"). Made once, shown modally for each question. `StringGridStats` keeps its
/// fixed row (the weekday names) and fixed column (the hours) in the table's headers, so
/// they stay in view while the 96 quarters scroll: cell (row r, column c) of the view's
/// grid is the table's item (r - 1, c - 1).
class StatsWindow final : public QDialog {
    Q_OBJECT
public:
    explicit StatsWindow(QWidget* parent);

    /// Fills the window from the view and shows it until "Close".
    void Show(const SpotStatsState& view);

private:
    void Fill(const SpotStatsState& view);

    QLabel* m_title;
    QLabel* m_total;
    QTableWidget* m_grid;
};
