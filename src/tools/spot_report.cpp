#include "tools/spot_report.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextStream>
#include <QTime>
#include <map>

#include "app/command_line.h"
#include "app/data_folders.h"
#include "schedule/day_program.h"
#include "spots/spot_file.h"
#include "tools/csv_writer.h"

namespace spot_report {

namespace {

constexpr int kQuarters = 4;
constexpr int kQuarterSeconds = 15 * 60;

QString DayText(const QDate& day) { return day.toString(QStringLiteral("yyyy-MM-dd")); }

QString PlaceKey(const QString& slot, int position) {
    return slot + QStringLiteral(" #") + QString::number(position);
}

// The spot files of the week, each read once: index weekday × 4 + quarter.
QList<QStringList> ReadWeek(const QString& spotsPath, QStringList& problems) {
    QList<QStringList> week;
    for (int weekday = 0; weekday < 7; ++weekday) {
        for (int quarter = 0; quarter < kQuarters; ++quarter) {
            ReadResult<QStringList> file = spot_file::Read(spotsPath, weekday, quarter);
            if (!file.ok()) problems << file.message();
            week << file.value;
        }
    }
    return week;
}

// What one as-run line says of the occurrences it names.
void ApplyLine(const QString& line, QHash<QString, Occurrence*>& byPlace) {
    const QStringList f = line.split(u'\t');
    if (f.size() < 5 || f[1] != QLatin1String("station")) return;
    const auto raise = [&byPlace](const QString& key, Status status, const QString* path) {
        Occurrence* o = byPlace.value(key);
        if (!o || (path && o->path != *path) || o->status > status) return false;
        o->status = status;
        return true;
    };
    // Each airing counts: in the hour the clocks repeat, a quarter's spots air twice.
    if (f[2] == QLatin1String("spot")) {
        if (raise(f[4], Status::Aired, &f[3])) byPlace.value(f[4])->airedAt << f[0].left(19);
    } else if (f[2] == QLatin1String("spot-skipped")) {
        raise(f[4], Status::Skipped, &f[3]);
    } else if (f[2] == QLatin1String("spots-cancelled")) {
        // "YYYY-MM-DD HH:MM #1 #3": the quarter, then the rows its operator let go by.
        const QString slot = f[4].left(16);
        for (const QString& row : f[4].mid(17).split(u' ', Qt::SkipEmptyParts))
            raise(slot + u' ' + row, Status::Cancelled, nullptr);
    }
}

// An as-run line as the station writes it: its time, its source and its event, and a spot
// line of the schedule with its whole place. Anything else is damage: a line cut short by a
// power cut and ended when the station came back, or bytes the station never wrote.
bool IsWholeLine(const QString& line) {
    static const QRegularExpression time(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"));
    static const QRegularExpression place(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d #\d+$)"));
    static const QRegularExpression cancelled(
        QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d( #\d+)*$)"));
    const QStringList f = line.split(u'\t');
    if (f.size() < 3 || !time.match(f[0]).hasMatch()) return false;
    if (f[1] != QLatin1String("station") || f.size() < 5) return true;
    if (f[2] == QLatin1String("spot") || f[2] == QLatin1String("spot-skipped"))
        return place.match(f[4]).hasMatch();
    if (f[2] == QLatin1String("spots-cancelled")) return cancelled.match(f[4]).hasMatch();
    return true;
}

QHash<QString, Occurrence*> ByPlace(QList<Occurrence>& occurrences) {
    QHash<QString, Occurrence*> byPlace;
    for (Occurrence& o : occurrences) byPlace.insert(PlaceKey(o.slot, o.position), &o);
    return byPlace;
}

// Applies the whole lines of a day's log, UTF-8 as the station writes it, one at a time: a
// damaged line (NUL bytes a power cut left, another encoding, a line cut short) is counted
// and told, and never hides the lines around it.
void ApplyLog(const QString& path, QHash<QString, Occurrence*>& byPlace, QStringList& problems) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problems << QStringLiteral("The as-run log %1 cannot be read: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString());
        return;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    int damaged = 0;
    while (!file.atEnd()) {
        QByteArray bytes = file.readLine();
        const bool ended = bytes.endsWith('\n');
        while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
        if (bytes.isEmpty() && ended) continue;
        utf8.resetState();
        const QString line = utf8.decode(bytes);
        if (!ended || bytes.contains('\0') || utf8.hasError() || !IsWholeLine(line))
            ++damaged;
        else
            ApplyLine(line, byPlace);
    }
    if (file.error() != QFileDevice::NoError)
        problems << QStringLiteral("The as-run log %1 could not be read to its end: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString());
    if (damaged > 0)
        problems << QStringLiteral(
                        "The as-run log %1 holds %2 damaged line(s) (cut short, or not "
                        "the station's text); the report counts the lines around them")
                        .arg(QDir::toNativeSeparators(path))
                        .arg(damaged);
}

// A spot the logs say nothing of is still due while its quarter lasts: the quarter's run
// starts five seconds before it and hands over one spot after another.
void MarkNotYetDue(QList<Occurrence>& occurrences, const QDateTime& now) {
    for (Occurrence& o : occurrences) {
        const QDateTime slot = QDateTime::fromString(o.slot, QStringLiteral("yyyy-MM-dd HH:mm"));
        if (o.status == Status::NotAired && now < slot.addSecs(kQuarterSeconds))
            o.status = Status::NotYetDue;
    }
}

}  // namespace

QList<Occurrence> Scheduled(const QString& spotsPath, const QDate& from, const QDate& to,
                            QStringList& problems) {
    const QList<QStringList> week = ReadWeek(spotsPath, problems);
    QList<Occurrence> scheduled;
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        const int weekday = day_program::WeekdayNumber(day);
        for (int hour = 0; hour < spot_file::kHours; ++hour) {
            for (int quarter = 0; quarter < kQuarters; ++quarter) {
                const QStringList spots =
                    spot_file::SlotSpots(week[weekday * kQuarters + quarter], hour);
                const QString slot =
                    DayText(day) + QTime(hour, quarter * 15).toString(QStringLiteral(" HH:mm"));
                for (int i = 0; i < spots.size(); ++i)
                    scheduled.append({slot, i + 1, spots[i], Status::NotAired, {}});
            }
        }
    }
    return scheduled;
}

void Reckon(QList<Occurrence>& occurrences, const QStringList& lines) {
    QHash<QString, Occurrence*> byPlace = ByPlace(occurrences);
    for (const QString& line : lines) ApplyLine(line, byPlace);
}

Report Build(const QString& stationFolder, const QDate& from, const QDate& to,
             const QDateTime& now) {
    const DataFolders folders = MakeDataFolders(stationFolder);
    Report report;
    report.now = now;
    if (from <= now.date() && now.date() <= to) report.partDay = now.date();
    report.occurrences = Scheduled(folders.SpotsPath, from, to, report.problems);
    QHash<QString, Occurrence*> byPlace = ByPlace(report.occurrences);
    // The spots of a day's first quarter start in the last seconds of the day before.
    for (QDate day = from.addDays(-1); day <= to; day = day.addDays(1)) {
        const QString path =
            folders.StartFolder + QStringLiteral("asrun/") + DayText(day) + QStringLiteral(".log");
        const bool logged = QFileInfo::exists(path);
        if (day >= from && day > now.date())
            report.daysToCome << day;
        else if (day >= from && !logged)
            report.daysWithoutLog << day;
        if (logged) ApplyLog(path, byPlace, report.problems);
    }
    MarkNotYetDue(report.occurrences, now);
    return report;
}

namespace {

// The status without its time: "aired", "skipped", "cancelled", "not aired".
QString StatusWord(Status status) {
    switch (status) {
        case Status::Aired:
            return QStringLiteral("aired");
        case Status::Skipped:
            return QStringLiteral("skipped");
        case Status::Cancelled:
            return QStringLiteral("cancelled");
        case Status::NotYetDue:
            return QStringLiteral("not yet due");
        case Status::NotAired:
            break;
    }
    return QStringLiteral("not aired");
}

// "aired HH:MM:SS", or "aired HH:MM:SS, HH:MM:SS" for a spot aired twice.
QString StatusText(const Occurrence& o) {
    if (o.status != Status::Aired) return StatusWord(o.status);
    QStringList times;
    for (const QString& at : o.airedAt) times << at.mid(11);
    return StatusWord(o.status) + u' ' + times.join(QStringLiteral(", "));
}

QString DaysText(const QList<QDate>& days) {
    QStringList texts;
    for (const QDate& day : days) texts << DayText(day);
    return texts.join(u' ');
}

QStringList Summary(const Report& report) {
    std::map<QString, std::pair<int, int>> perSpot;  // path: scheduled, airings
    for (const Occurrence& o : report.occurrences) {
        auto& [scheduled, aired] = perSpot[o.path];
        ++scheduled;
        aired += int(o.airedAt.size());
    }
    QStringList lines{QStringLiteral("# scheduled\taired\tspot")};
    for (const auto& [path, counts] : perSpot)
        lines << QStringLiteral("# %1\t%2\t%3").arg(counts.first).arg(counts.second).arg(path);
    lines << (report.daysWithoutLog.isEmpty()
                  ? QStringLiteral("# every day up to now has an as-run log")
                  : QStringLiteral("# no as-run log: ") + DaysText(report.daysWithoutLog));
    if (report.partDay.isValid())
        lines << QStringLiteral("# logged only up to ") +
                     report.now.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(": ") +
                     DayText(report.partDay);
    if (!report.daysToCome.isEmpty())
        lines << QStringLiteral("# still to come: ") + DaysText(report.daysToCome);
    return lines;
}

}  // namespace

QStringList TextLines(const Report& report) {
    QStringList lines{QStringLiteral(
        "# compared against the spot schedule as it stands now, not as it was on those days")};
    for (const Occurrence& o : report.occurrences)
        lines << o.slot + u'\t' + QString::number(o.position) + u'\t' + StatusText(o) + u'\t' +
                     o.path;
    return lines + Summary(report);
}

QStringList CsvLines(const Report& report) {
    QStringList lines{
        csv::Record({QStringLiteral("scheduled (as the schedule stands now)"),
                     QStringLiteral("position"), QStringLiteral("status"),
                     QStringLiteral("aired at"), QStringLiteral("path"), QStringLiteral("note")})};
    const QString daysWithoutLog = DaysText(report.daysWithoutLog);
    for (const Occurrence& o : report.occurrences) {
        const bool noLog = daysWithoutLog.contains(o.slot.left(10));
        lines << csv::Record({o.slot, QString::number(o.position), StatusWord(o.status),
                              o.airedAt.join(QStringLiteral(", ")), o.path,
                              noLog ? QStringLiteral("no as-run log") : QString()});
    }
    return lines;
}

}  // namespace spot_report

int RunSpotReportCommand(const CommandLine& cl, const QString& startFolder, const QDateTime& now,
                         QTextStream& out, QTextStream& err) {
    const spot_report::Report report =
        spot_report::Build(startFolder, cl.reportFrom, cl.reportTo, now);
    const QStringList lines =
        cl.reportCsv ? spot_report::CsvLines(report) : spot_report::TextLines(report);
    // CSV records end in CR LF, as spreadsheets write them.
    const char* end = cl.reportCsv ? "\r\n" : "\n";
    for (const QString& line : lines) out << line << end;
    for (const QString& problem : report.problems) err << problem << '\n';
    out.flush();
    err.flush();
    return report.problems.isEmpty() ? 0 : 1;
}
