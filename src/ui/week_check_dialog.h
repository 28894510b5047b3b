#pragma once

#include <QDate>
#include <QDialog>

#include "app/station_client.h"

class QLabel;
class QTableWidget;

/// "Check the week...": the week's pre-flight check of the station from now, one warning a
/// row (time, kind, detail) and their count below. A double click on a row asks for that
/// day in the Calendar tab. It stays open beside the window while the operator mends things.
/// The check reads every list and track, so the station runs it on a worker thread and its
/// warnings come with the state: neither the window nor the station's tick waits for a slow
/// disk.
class WeekCheckDialog final : public QDialog {
    Q_OBJECT
public:
    WeekCheckDialog(StationClient& client, QWidget* parent);

    /// Shows the dialog at once, "Checking...", and starts the check again; the table fills
    /// when it is done. A check still running is forgotten.
    void Open();

Q_SIGNALS:
    /// The operator double-clicked the warning of this day.
    void DayChosen(const QDate& day);

private:
    void ShowWarnings(const QList<WeekWarning>& warnings);

    StationClient& m_client;
    bool m_waiting = false;  // for the check asked for last
    QTableWidget* m_table;
    QLabel* m_count;
    QList<QDate> m_days;  // the day of each row
};
