#include "spots/spot_statistics.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <functional>

#include "schedule/calendar.h"
#include "schedule/list_file.h"
#include "spots/spot_file.h"

namespace spot_statistics {

namespace {

using Visit = std::function<void(int weekday, int quarter, const QStringList& lines)>;

// Empty rows of the grid up to `rows`.
void GrowGrid(StatsView& view, qsizetype rows) {
    while (view.Grid.size() < rows)
        view.Grid.append(QStringList(QList<QString>(StatsView::kColumns)));
}

// The common start: the title and an empty grid under the day names.
StatsView Start(const QString& spotLine) {
    StatsView view;
    view.LabelStats = TrackTitle(spotLine);
    GrowGrid(view, StatsView::kDataRows + 1);
    const QStringList days = DayTabNames();
    for (int d = 0; d < 7; ++d) view.Grid[0][d + 1] = days[d];
    return view;
}

// Each spot file in weekday and quarter order; one that cannot be read counts as empty.
void ReadEach(const QString& spotsPath, StatsView& view, const Visit& visit) {
    for (int d = 0; d < 7; ++d) {
        for (int q = 0; q < 4; ++q) {
            const auto file = spot_file::Read(spotsPath, d, q);
            if (!file.ok() && view.Problem.isEmpty()) view.Problem = file.message();
            visit(d, q, file.value);
        }
    }
}

}  // namespace

QString OccurrenceText(int hour, int quarter, int position) {
    return QStringLiteral("%1:%2 [%3]")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(quarter * 15, 2, 10, QLatin1Char('0'))
        .arg(position, 2, 10, QLatin1Char(' '));
}

StatsView ShowStats(const QString& spotsPath, const QString& spotLine) {
    StatsView view = Start(spotLine);
    std::array<QStringList, 7> columns;
    ReadEach(spotsPath, view, [&](int d, int q, const QStringList& lines) {
        QStringList found;
        for (int i = 0; i < spot_file::kLines; ++i) {
            if (lines[i] != spotLine) continue;
            found << OccurrenceText(i / spot_file::kSpotsPerSlot, q,
                                    i % spot_file::kSpotsPerSlot + 1);
        }
        found.sort();
        columns[d] << found;
    });
    int total = 0;
    for (int d = 0; d < 7; ++d) {
        const QStringList& column = columns[d];
        total += int(column.size());
        GrowGrid(view, column.size() + 1);
        for (int r = 0; r < column.size(); ++r) view.Grid[r + 1][d + 1] = column[r];
    }
    view.LabelNumberOfStats = QString::number(total);
    return view;
}

StatsView ShowProgram(const QString& spotsPath, const QString& spotLine) {
    StatsView view = Start(spotLine);
    ReadEach(spotsPath, view, [&](int d, int q, const QStringList& lines) {
        for (int i = 0; i < spot_file::kLines; ++i) {
            if (lines[i] != spotLine) continue;
            const int hour = i / spot_file::kSpotsPerSlot;
            view.Grid[hour * 4 + q + 1][d + 1] =
                OccurrenceText(hour, q, i % spot_file::kSpotsPerSlot + 1);
        }
    });
    for (int h = 0; h < spot_file::kHours; ++h)
        view.Grid[h * 4 + 1][0] = QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'));
    view.LabelNumberOfStats = QStringLiteral("-");
    return view;
}

}  // namespace spot_statistics
