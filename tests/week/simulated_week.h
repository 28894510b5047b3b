#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "as_run_invariants.h"
#include "operator_week.h"

/// A week preview of a station under random operator actions, checked: the program's
/// as-run log against the invariants, the station folder before and after, and what the
/// program said on standard error (sanitizer reports, a crash).

struct SimulatedWeekRun {
    QString binary;      ///< the stavox-mixer to run
    QString station;     ///< the station folder (the run's working folder)
    QString workFolder;  ///< for the actions file, the log, standard error and a private home
    std::uint32_t seed = 1;
    int days = 7;
    int actionsPerDay = 450;
    QDateTime from = QDateTime(QDate(2026, 12, 7), QTime(0, 0));
};

struct SimulatedWeekResult {
    OperatorWeek actions;
    qsizetype logLines = 0;
    QList<Violation> violations;
    /// Sanitizer reports and an abnormal end, one line each.
    QStringList findings;
};

SimulatedWeekResult RunSimulatedWeek(const SimulatedWeekRun& run);

/// The report: seed, actions per verb, invariants checked, violations, findings.
QStringList DescribeSimulatedWeek(const SimulatedWeekRun& run, const SimulatedWeekResult& result);
