#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>

/// Random operator actions for the week preview's --actions file, drawn from the verbs of
/// the air's part of the operator's table (a verb added to that part is drawn without a
/// change here).

struct OperatorVerb;

/// Whether the random operator draws the verb: one of the air's verbs (next, pause, manual,
/// jingles, spots' check boxes, the line input, the hour). The window's other verbs edit
/// files or work the decks by hand in ways the invariants do not model.
bool DrawnByRandomOperator(const OperatorVerb& verb);

/// An actions file's lines and how many of each verb it holds.
struct OperatorWeek {
    QStringList lines;           ///< "YYYY-MM-DD HH:MM:SS VERB [ARG]", in time order
    QMap<QString, int> perVerb;  ///< every verb the random operator draws, drawn or not
};

/// `count` actions (at least one of each verb) at random seconds of the `days` days from
/// `from`, the same for the same seed. A numbered verb mostly gets a small number (a button,
/// tab or row the demo station has) and sometimes one far beyond, which the station must
/// refuse without harm.
OperatorWeek RandomOperatorWeek(std::uint32_t seed, const QDateTime& from, int days, int count);
