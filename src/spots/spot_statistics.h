#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// How often and when one spot line is scheduled in the week, read from the 28 spot files,
/// as plain data for the statistics window. An occurrence is a line equal to the spot line,
/// character for character.
namespace spot_statistics {

/// "hh:mm [ p]": hour, the quarter's minute and the position 1..10 right-aligned in two.
QString OccurrenceText(int hour, int quarter, int position);

/// What TFormForStats shows.
struct StatsView {
    static constexpr int kDataRows = 96;  ///< 24 hours × 4 quarters
    static constexpr int kColumns = 8;    ///< column 0, then Sunday … Saturday

    QString LabelStats;          ///< the spot's track title
    QString LabelNumberOfStats;  ///< the week's total, "-" in the timetable
    /// StringGridStats: row 0 holds the weekday names; at least 96 data rows follow. A list
    /// column longer than that gets more rows, so no occurrence is ever cut off. Each row
    /// holds kColumns texts.
    QList<QStringList> Grid;
    /// The first spot file that could not be read (counted as empty); empty when none.
    QString Problem;
};

/// "Show Stats": per weekday column the sorted occurrences, quarter after quarter.
StatsView ShowStats(const QString& spotsPath, const QString& spotLine);
/// "Show Program": the timetable, row hour × 4 + quarter + 1; of several positions in
/// one slot the last is shown.
StatsView ShowProgram(const QString& spotsPath, const QString& spotLine);

}  // namespace spot_statistics
