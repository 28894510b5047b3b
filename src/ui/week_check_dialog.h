#pragma once

#include <QDate>
#include <QDialog>

class QLabel;
class QTableWidget;
class Station;
template <typename T>
class QFutureWatcher;
namespace week_check {
struct Warning;
}

/// "Check the week...": the week's pre-flight check of the station from now, one warning a
/// row (time, kind, detail) and their count below. A double click on a row asks for that
/// day in the Calendar tab. It stays open beside the window while the operator mends things.
/// The check reads every list and track, so it runs on a worker thread with copies of the
/// station's settings: the station's tick never waits for a slow disk.
class WeekCheckDialog final : public QDialog {
    Q_OBJECT
public:
    WeekCheckDialog(Station& station, QWidget* parent);

    /// Shows the dialog at once, "Checking...", and starts the check again; the table fills
    /// when it is done. A check still running is forgotten.
    void Open();

Q_SIGNALS:
    /// The operator double-clicked the warning of this day.
    void DayChosen(const QDate& day);

private:
    void ShowWarnings(const QList<week_check::Warning>& warnings);

    Station& m_station;
    QFutureWatcher<QList<week_check::Warning>>* m_check;
    QTableWidget* m_table;
    QLabel* m_count;
    QList<QDate> m_days;  // the day of each row
};
