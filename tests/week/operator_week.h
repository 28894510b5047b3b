#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>

/// Random operator actions for the week preview's --actions file, drawn from every verb of
/// the operator's table (a verb added to the table is drawn without a change here).

/// An actions file's lines and how many of each verb it holds.
struct OperatorWeek {
    QStringList lines;           ///< "YYYY-MM-DD HH:MM:SS VERB [ARG]", in time order
    QMap<QString, int> perVerb;  ///< every verb of the table, drawn or not
};

/// `count` actions (at least one of each verb) at random seconds of the `days` days from
/// `from`, the same for the same seed. A numbered verb mostly gets a small number (a button,
/// tab or row the demo station has) and sometimes one far beyond, which the station must
/// refuse without harm.
OperatorWeek RandomOperatorWeek(std::uint32_t seed, const QDateTime& from, int days, int count);
