#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;
struct CommandLine;

/// Proof of play for spots: every spot that the spot schedule, as it stands now, places in
/// a span of days, and what the station's as-run logs ("asrun/YYYY-MM-DD.log") say became
/// of it. A spot line of the log names its place ("YYYY-MM-DD HH:MM #N"); a line counts for
/// an occurrence when its place and its file are the occurrence's.
namespace spot_report {

/// From least to most: a spot aired counts over one skipped, which counts over a cancel.
/// NotYetDue is not read from a log: an occurrence the logs say nothing of has it until
/// the quarter it belongs to is over.
enum class Status { NotAired, Cancelled, Skipped, Aired, NotYetDue };

struct Occurrence {
    QString slot;      ///< the quarter's start, "YYYY-MM-DD HH:MM"
    int position = 0;  ///< its row in the quarter, 1 for the first
    QString path;
    Status status = Status::NotAired;
    /// "YYYY-MM-DD HH:MM:SS" of each hand-over to a deck: two when the clocks went back
    /// over its quarter and it aired again.
    QStringList airedAt;
};

struct Report {
    QList<Occurrence> occurrences;  ///< by slot, then position
    QList<QDate> daysWithoutLog;    ///< days up to now whose as-run log does not exist
    QDateTime now;                  ///< when the report was made
    QDate partDay;                  ///< now's day, when the span holds it: logged up to now
    QList<QDate> daysToCome;        ///< days of the span after now
    QStringList problems;           ///< spot files and logs that could not be read
};

/// Every spot the spot schedule, as it stands now, places in the days from..to (both
/// included), not aired; spot files that cannot be read are added to problems.
QList<Occurrence> Scheduled(const QString& spotsPath, const QDate& from, const QDate& to,
                            QStringList& problems);
/// What as-run lines say of the occurrences they name: aired (with its time), skipped or
/// cancelled. Lines that are no spot line, or name no occurrence, change nothing.
void Reckon(QList<Occurrence>& occurrences, const QStringList& lines);

/// The report for the days from..to (both included) of the station in stationFolder, made
/// at `now`.
Report Build(const QString& stationFolder, const QDate& from, const QDate& to,
             const QDateTime& now);
/// The text form: a "#" line saying what it compares, one line an occurrence,
/// "<slot>\t<position>\t<status>\t<path>" (status "aired HH:MM:SS" or, aired twice,
/// "aired HH:MM:SS, HH:MM:SS", "skipped", "cancelled", "not aired" or "not yet due"), then
/// "#" lines: per spot file its scheduled count and its airings, the days without an
/// as-run log, the day logged only up to now and the days still to come.
QStringList TextLines(const Report& report);
/// The CSV form: a header record, then one record an occurrence.
QStringList CsvLines(const Report& report);

}  // namespace spot_report

/// `--spot-report FROM TO [--csv]` for the station in startFolder, at `now`. The result: 0
/// when the report is complete, 1 when a spot file or a log could not be read (told on
/// `err`; the report of the rest is still printed).
int RunSpotReportCommand(const CommandLine& cl, const QString& startFolder, const QDateTime& now,
                         QTextStream& out, QTextStream& err);
