#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QDateTime;
class QSettings;
class QTextStream;
struct CommandLine;

/// What a day's as-run log says of the air the station heard: the silences its dead-air
/// alarm found and the measure of each hand-over, from the "monitor" lines, with what the
/// decks played when each silence began, from the decks' and the station's own lines.
namespace air_report {

/// One dead-air alarm and what became of it.
struct Silence {
    QString start;  ///< when the silence began, "YYYY-MM-DD HH:MM:SS.mmm"
    /// Seconds of silence when the sound came back; nothing while it had not.
    std::optional<double> seconds;
    /// The sound had not come back when the station raised the next alarm.
    bool followedByAlarm = false;
    /// What played when it began: "KIND DETAIL" (track, spot, jingle, hour), "line",
    /// "nothing", or "unknown" when it began before the log's first line.
    QString playing;
    /// The last recovery step taken while silent ("next", "restart", "emergency LIST"); empty
    /// when none was.
    QString lastStep;
};

/// The measure of one hand-over.
struct Transition {
    QString at;
    QString from, to;   ///< track, spot, jingle, hour, line
    double quietestDb;  ///< -inf for digital silence
    int holeMs;
};

struct Report {
    QList<Silence> silences;           ///< in the order of their alarms
    QList<Transition> transitions;     ///< in log order
    QString monitorOffAt, monitorOff;  ///< the first time the monitor said it was off, and why
    int monitorLines = 0;
    /// Lines that are no as-run line: cut short, too long, not UTF-8, not the shape the
    /// station writes. Skipped.
    int badLines = 0;
};

/// Reads a day's as-run log as its bytes lie on disk.
Report Read(QByteArrayView log);
/// The hand-overs with the longest holes first, the quieter first among equal holes, then in
/// log order; at most count of them.
QList<Transition> Worst(const QList<Transition>& transitions, qsizetype count);
/// The middle hole; of an even count, the shorter of the two middle ones. 0 for none.
int MedianHoleMs(const QList<Transition>& transitions);
/// A silence that lasted silenceSeconds or more, or never ended in the log.
bool IsLong(const Silence& silence, int silenceSeconds);

/// The report as text: "#" lines say what follows, one "silence" line a silence, one
/// "transition" line each of the ten worst hand-overs, an "off" line when the monitor did
/// not run, and a "#" summary last. Fields are separated by TAB.
QStringList TextLines(const Report& report, int silenceSeconds);

}  // namespace air_report

/// `--air-report DAY` for the station in startFolder: reads asrun/DAY.log (today's when
/// cl.airReportDay is not valid, by `now`), with SilenceSeconds from the store when given.
/// Returns 0 when no silence lasted SilenceSeconds, 1 when some did, 2 when the log cannot
/// be read (told on err).
int RunAirReportCommand(const CommandLine& cl, const QString& startFolder, QSettings* store,
                        const QDateTime& now, QTextStream& out, QTextStream& err);
