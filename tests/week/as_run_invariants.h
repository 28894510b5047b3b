#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

/// What must hold over a week preview's as-run log (run with --volumes), and whether the
/// station folder came out of the run as it went in.

/// One broken rule: which, where (line number from 1, 0 for the folder) and why.
struct Violation {
    QString invariant;
    qsizetype lineNumber = 0;
    QString reason;
};

/// The rules checked over a log, in the order they are reported.
QStringList AsRunInvariants();

/// Checks every rule of AsRunInvariants() over the log's lines. daysPath is the station's
/// day folder ("days1/"), where each program's slot is looked up.
QList<Violation> CheckAsRunLog(const QStringList& lines, const QString& daysPath);

/// Every checked spot of every quarter the span from..to holds whole is aired, skipped or
/// cancelled in the log, as the spot report reckons it: a quarter that never ran breaks it.
/// A quarter whose run a deck's pause could hold is left out, and so are the rows the
/// operator unchecked. spotsPath is the station's spot folder ("spots1/").
QList<Violation> CheckSpotsReckoned(const QStringList& lines, const QString& spotsPath,
                                    const QDateTime& from, const QDateTime& to);

/// Every file below the folder (relative path) with the SHA-256 of its bytes.
QMap<QString, QByteArray> HashFolder(const QString& folder);
/// One "folder-unchanged" violation per file made, removed or changed between the two.
QList<Violation> CompareFolders(const QMap<QString, QByteArray>& before,
                                const QMap<QString, QByteArray>& after);
