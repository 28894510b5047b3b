#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QStringList>

#include "base/result.h"
#include "spots/spot_runner.h"
#include "spots/spot_schedule.h"

/// What a station that was killed needs to go on where it was: the deck on air and its
/// file, the program with its pools and queue, the played list, the spot run under way and
/// the operator's mode and lock. Kept as "journal.json" in the station folder, replaced
/// whole at each change.
struct ResumePoint {
    QDateTime written;  // the station's local time
    /// The program on air: its day, the half-hour slot it began at, its value.
    QDate day;
    int programSlot = -1;
    QString programName;
    bool programByHand = false;
    /// The current deck and what it was handed, with the title shown for it.
    int currentDeck = 0;
    QString onAirFile;
    QString onAirTitle;
    /// The current deck's volume bar once its fades were over; -1 while one ran.
    int currentBar = -1;
    QStringList poolNames;
    QList<QStringList> pools;
    QStringList queue;
    int tracksToPlay = 0;
    QStringList playedTitles, playedPaths;
    SpotSchedule::Saved nextSpots;
    SpotRunner::Saved spots;
    bool manual = false;
    bool programsLocked = false;
};

inline constexpr char kJournalFileName[] = "journal.json";

QByteArray JournalJson(const ResumePoint& point);
/// A journal that is not one (damaged, cut, of another version) is an error that says why.
ReadResult<ResumePoint> ParseJournal(const QByteArray& bytes);
/// The journal file read and parsed; an error says why it cannot be used.
ReadResult<ResumePoint> ReadJournal(const QString& path);
