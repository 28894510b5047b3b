#pragma once

#include <QDate>
#include <QDialog>

class QLabel;
class QTableWidget;
class Station;

/// "Check the week...": the week's pre-flight check of the station from now, one warning a
/// row (time, kind, detail) and their count below. A double click on a row asks for that
/// day in the Calendar tab. It stays open beside the window while the operator mends things.
class WeekCheckDialog final : public QDialog {
    Q_OBJECT
public:
    WeekCheckDialog(Station& station, QWidget* parent);

    /// Runs the check again and shows the dialog.
    void Open();

Q_SIGNALS:
    /// The operator double-clicked the warning of this day.
    void DayChosen(const QDate& day);

private:
    Station& m_station;
    QTableWidget* m_table;
    QLabel* m_count;
    QList<QDate> m_days;  // the day of each row
};
