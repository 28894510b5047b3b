#pragma once

#include <QObject>
#include <QThreadPool>
#include <functional>

#include "app/calendar_state.h"
#include "base/result.h"

/// "Check the week..." for the window: a command starts it, a worker thread reads the files,
/// and the warnings wait here for the calendar's state. The check itself belongs to the
/// tools, which come after the station: the program hands it over once (SetCheck).
class WeekCheckJob : public QObject {
    Q_OBJECT
public:
    /// Reads what the check needs off the station, on the core's thread, and gives the work
    /// that reads the files, for a worker thread.
    using Prepare = std::function<QList<WeekWarning>()> (*)(const Station& station);

    WeekCheckJob() = default;
    /// Waits for a check still running: its warnings have nowhere to go.
    ~WeekCheckJob() override;
    WeekCheckJob(const WeekCheckJob&) = delete;
    WeekCheckJob& operator=(const WeekCheckJob&) = delete;

    void SetCheck(Prepare prepare) { m_prepare = prepare; }
    /// Starts a check of the week from now; one still running is forgotten. An error when
    /// the program has no check.
    Result Start(const Station& station);

    bool Running() const { return m_running; }
    /// How many checks have finished; the window waits for this to pass what it saw.
    int Done() const { return m_done; }
    const QList<WeekWarning>& Warnings() const { return m_warnings; }

Q_SIGNALS:
    /// A check finished: its warnings are here.
    void Finished();

private:
    void Finish(int run, const QList<WeekWarning>& warnings);

    Prepare m_prepare = nullptr;
    int m_started = 0;
    int m_done = 0;
    bool m_running = false;
    QList<WeekWarning> m_warnings;
    QThreadPool m_workers;  // last: it waits for its work before the rest goes
};
