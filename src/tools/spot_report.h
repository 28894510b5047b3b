#pragma once

#include <QDate>
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
enum class Status { NotAired, Cancelled, Skipped, Aired };

struct Occurrence {
    QString slot;      ///< the quarter's start, "YYYY-MM-DD HH:MM"
    int position = 0;  ///< its row in the quarter, 1 for the first
    QString path;
    Status status = Status::NotAired;
    QString airedAt;  ///< "YYYY-MM-DD HH:MM:SS" of its hand-over to a deck, when aired
};

struct Report {
    QList<Occurrence> occurrences;  ///< by slot, then position
    QList<QDate> daysWithoutLog;    ///< days of the span whose as-run log does not exist
    QStringList problems;           ///< spot files and logs that could not be read
};

/// The report for the days from..to (both included) of the station in stationFolder.
Report Build(const QString& stationFolder, const QDate& from, const QDate& to);
/// The text form: a "#" line saying what it compares, one line an occurrence,
/// "<slot>\t<position>\t<status>\t<path>" (status "aired HH:MM:SS", "skipped",
/// "cancelled" or "not aired"), then "#" lines: per spot file its scheduled and aired
/// count, and the days without an as-run log.
QStringList TextLines(const Report& report);
/// The CSV form: a header record, then one record an occurrence.
QStringList CsvLines(const Report& report);

}  // namespace spot_report

/// `--spot-report FROM TO [--csv]` for the station in startFolder. The result: 0 when the
/// report is complete, 1 when a spot file or a log could not be read (told on `err`; the
/// report of the rest is still printed).
int RunSpotReportCommand(const CommandLine& cl, const QString& startFolder, QTextStream& out,
                         QTextStream& err);
