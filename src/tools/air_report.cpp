#include "tools/air_report.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStringDecoder>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "app/command_line.h"
#include "app/data_folders.h"
#include "app/settings.h"
#include "app/station.h"
#include "base/number_text.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "schedule/list_file.h"

namespace air_report {

namespace {

// No line the station writes comes near this: a time, a path, a list's name, a few words.
constexpr qsizetype kLongestLine = 64 * 1024;
constexpr qsizetype kWorstShown = 10;

bool IsTime(const QString& text) {
    static const QRegularExpression time(
        QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}$)"));
    return time.match(text).hasMatch();
}

// Follows what the decks and the line input hold, line by line, so that an alarm, which
// comes seconds after its silence began, is told what played at that beginning.
class Reader {
public:
    explicit Reader(Report& report) : m_report(report) {}

    /// False when the line is not in the shape the station writes.
    bool Take(const QString& line);

private:
    // What one deck, or the line input, plays; empty when idle. `since` orders the starts:
    // the latest start is what is heard (a jingle over a track, the line over the decks).
    struct Source {
        QString playing;
        qint64 since = 0;
    };
    static constexpr int kLineInput = 2;

    bool TakeMonitor(const QStringList& f);
    void TakeDeck(int deck, const QStringList& f);
    void TakeStation(const QStringList& f);
    void Start(int source, const QString& playing, const QString& at);
    void Stop(int source, const QString& at);
    void NoteHeard(const QString& at);
    QString PlayingAt(const QString& start) const;

    Report& m_report;
    std::array<Source, 3> m_sources;
    qint64 m_starts = 0;
    // The station names what it hands over in the line before the deck's "load".
    QString m_namedKind, m_namedPath, m_namedDetail;
    // What played from each time on, at every change, oldest first.
    QList<std::pair<QString, QString>> m_playingFrom;
    qsizetype m_open = -1;  // the silence still waiting for its sound
};

bool Reader::Take(const QString& line) {
    const QStringList f = line.split(u'\t');
    if (f.size() < 3 || !IsTime(f[0])) return false;
    const QString& source = f[1];
    if (source == QLatin1String("monitor")) {
        ++m_report.monitorLines;
        return TakeMonitor(f);
    }
    if (source == QLatin1String("deck0") || source == QLatin1String("deck1"))
        TakeDeck(source.back() == u'1' ? 1 : 0, f);
    else if (source == QLatin1String("station"))
        TakeStation(f);
    else if (source == QLatin1String("linein") && f[2] == QLatin1String("open"))
        Start(kLineInput, QStringLiteral("line"), f[0]);
    else if (source == QLatin1String("linein") && f[2] == QLatin1String("close"))
        Stop(kLineInput, f[0]);
    return true;
}

void Reader::TakeDeck(int deck, const QStringList& f) {
    const QString& event = f[2];
    if (event == QLatin1String("load")) {
        const QString path = f.value(3);
        // The hour's fragments go to the deck as one list the station makes for them.
        const bool named =
            !m_namedKind.isEmpty() && (m_namedKind == QLatin1String("hour") || m_namedPath == path);
        Start(deck, named ? m_namedKind + u' ' + m_namedDetail : QStringLiteral("track ") + path,
              f[0]);
        m_namedKind.clear();
    } else if (event == QLatin1String("stop") || event == QLatin1String("fadestop") ||
               event == QLatin1String("ended") || event == QLatin1String("dead")) {
        Stop(deck, f[0]);
    }
}

void Reader::TakeStation(const QStringList& f) {
    const QString& event = f[2];
    const QString detail = f.value(3);
    if (event == QLatin1String("queue")) {
        m_namedKind = QStringLiteral("track");
        m_namedPath = m_namedDetail = SplitTrackEntry(detail).path;
    } else if (event == QLatin1String("spot") || event == QLatin1String("jingle")) {
        m_namedKind = event;
        m_namedPath = m_namedDetail = detail;
    } else if (event == QLatin1String("announce")) {
        m_namedKind = QStringLiteral("hour");
        m_namedDetail = detail;
    } else if (event == QLatin1String("close")) {
        for (int source = 0; source < int(m_sources.size()); ++source) Stop(source, f[0]);
    }
}

void Reader::Start(int source, const QString& playing, const QString& at) {
    m_sources[source] = {playing, ++m_starts};
    NoteHeard(at);
}

void Reader::Stop(int source, const QString& at) {
    m_sources[source].playing.clear();
    NoteHeard(at);
}

// What is heard from `at` on, when that changed.
void Reader::NoteHeard(const QString& at) {
    const Source* heard = nullptr;
    for (const Source& s : m_sources)
        if (!s.playing.isEmpty() && (!heard || s.since > heard->since)) heard = &s;
    const QString playing = heard ? heard->playing : QStringLiteral("nothing");
    if (m_playingFrom.isEmpty() || m_playingFrom.constLast().second != playing)
        m_playingFrom.append({at, playing});
}

// Walked back from the latest change, so that in the hour the clocks repeat a start is
// matched with the changes just before it.
QString Reader::PlayingAt(const QString& start) const {
    for (auto it = m_playingFrom.crbegin(); it != m_playingFrom.crend(); ++it)
        if (it->first <= start) return it->second;
    return QStringLiteral("unknown");  // it began before the first line of this log
}

bool Reader::TakeMonitor(const QStringList& f) {
    const QString& event = f[2];
    Silence* open = m_open >= 0 ? &m_report.silences[m_open] : nullptr;
    if (event == QLatin1String("silence")) {
        if (f.size() != 4 || !IsTime(f[3])) return false;
        if (open) open->followedByAlarm = true;
        m_report.silences.append({f[3], std::nullopt, false, PlayingAt(f[3]), {}});
        m_open = m_report.silences.size() - 1;
    } else if (event == QLatin1String("recovery")) {
        const QString step = f.value(3);
        const bool known = (f.size() == 4 &&
                            (step == QLatin1String("next") || step == QLatin1String("restart"))) ||
                           (f.size() <= 5 && step == QLatin1String("emergency"));
        if (!known) return false;
        if (open) open->lastStep = f.mid(3).join(u' ');
    } else if (event == QLatin1String("sound")) {
        bool number = false;
        const double seconds = f.value(3).toDouble(&number);
        if (f.size() != 4 || !number || !std::isfinite(seconds) || seconds < 0) return false;
        if (open) open->seconds = seconds;
        m_open = -1;
    } else if (event == QLatin1String("transition")) {
        const QStringList kinds = f.value(3).split(QChar(0x2192));
        bool number = true, whole = false;
        const double quietest = f.value(4) == QLatin1String("-inf")
                                    ? -std::numeric_limits<double>::infinity()
                                    : f.value(4).toDouble(&number);
        const int hole = f.value(5).toInt(&whole);
        if (f.size() != 6 || kinds.size() != 2 || kinds[0].isEmpty() || kinds[1].isEmpty() ||
            !number || std::isnan(quietest) || !whole || hole < 0)
            return false;
        m_report.transitions.append({f[0], kinds[0], kinds[1], quietest, hole});
    } else if (event == QLatin1String("off")) {
        if (m_report.monitorOffAt.isEmpty()) {
            m_report.monitorOffAt = f[0];
            m_report.monitorOff = f.mid(3).join(u' ');
        }
    }
    // A monitor event this reader does not know is a newer station's: passed over.
    return true;
}

}  // namespace

Report Read(QByteArrayView log) {
    Report report;
    Reader reader(report);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    qsizetype at = 0;
    while (at < log.size()) {
        qsizetype end = at;
        while (end < log.size() && log[end] != '\n' && log[end] != '\r') ++end;
        const QByteArrayView bytes = log.sliced(at, end - at);
        const bool ended = end < log.size();
        const bool crlf = ended && log[end] == '\r' && end + 1 < log.size() && log[end + 1] == '\n';
        at = end + (crlf ? 2 : 1);
        if (bytes.isEmpty()) continue;
        // A line cut short by a power cut, bytes the station never wrote, another encoding:
        // counted and passed over, never hiding the lines around them.
        if (!ended || bytes.size() > kLongestLine || bytes.contains('\0')) {
            ++report.badLines;
            continue;
        }
        utf8.resetState();
        const QString line = utf8.decode(bytes);
        if (utf8.hasError() || !reader.Take(line)) ++report.badLines;
    }
    return report;
}

QList<Transition> Worst(const QList<Transition>& transitions, qsizetype count) {
    QList<Transition> worst = transitions;
    std::ranges::stable_sort(worst, [](const Transition& a, const Transition& b) {
        return a.holeMs != b.holeMs ? a.holeMs > b.holeMs : a.quietestDb < b.quietestDb;
    });
    worst.resize(std::min(count, worst.size()));
    return worst;
}

int MedianHoleMs(const QList<Transition>& transitions) {
    if (transitions.isEmpty()) return 0;
    std::vector<int> holes;
    holes.reserve(transitions.size());
    for (const Transition& t : transitions) holes.push_back(t.holeMs);
    const auto middle = holes.begin() + qsizetype(holes.size() - 1) / 2;
    std::ranges::nth_element(holes, middle);
    return *middle;
}

bool IsLong(const Silence& silence, int silenceSeconds) {
    return !silence.seconds || *silence.seconds >= silenceSeconds;
}

namespace {

QString LengthText(const Silence& s) {
    if (s.seconds) return QString::number(*s.seconds, 'f', 1) + QStringLiteral(" s");
    return s.followedByAlarm ? QStringLiteral("still silent at the next alarm")
                             : QStringLiteral("still silent at the end of the log");
}

// What brought the sound back; of a silence that never ended, the last step tried.
QString RecoveryText(const Silence& s) {
    if (!s.lastStep.isEmpty()) return s.lastStep;
    return s.seconds ? QStringLiteral("came back by itself") : QStringLiteral("none");
}

QString LevelText(double db) {
    return std::isinf(db) ? QStringLiteral("-inf dBFS")
                          : QString::number(db, 'f', 1) + QStringLiteral(" dBFS");
}

QString Plural(qsizetype count, const char* one, const char* many) {
    return QString::number(count) + u' ' + QLatin1String(count == 1 ? one : many);
}

}  // namespace

QStringList TextLines(const Report& report, int silenceSeconds) {
    QStringList lines{
        QStringLiteral("# silence\tbegan\tlasted\tbrought back by\tplaying when it began")};
    for (const Silence& s : report.silences)
        lines << QStringList{QStringLiteral("silence"), s.start, LengthText(s), RecoveryText(s),
                             s.playing}
                     .join(u'\t');
    const QList<Transition> worst = Worst(report.transitions, kWorstShown);
    const int worstHole = worst.isEmpty() ? 0 : worst.constFirst().holeMs;
    lines << QStringLiteral("# %1: median hole %2 ms, worst hole %3 ms; the %4 worst:")
                 .arg(Plural(report.transitions.size(), "transition", "transitions"))
                 .arg(MedianHoleMs(report.transitions))
                 .arg(worstHole)
                 .arg(worst.size())
          << QStringLiteral("# transition\tat\tfrom→to\thole\tquietest");
    for (const Transition& t : worst)
        lines << QStringList{QStringLiteral("transition"), t.at, t.from + QChar(0x2192) + t.to,
                             QString::number(t.holeMs) + QStringLiteral(" ms"),
                             LevelText(t.quietestDb)}
                     .join(u'\t');
    if (!report.monitorOffAt.isEmpty())
        lines << QStringLiteral("off\t") + report.monitorOffAt + u'\t' + report.monitorOff;
    const auto longOnes = std::ranges::count_if(
        report.silences, [silenceSeconds](const Silence& s) { return IsLong(s, silenceSeconds); });
    QString summary = QStringLiteral("# %1, %2 of %3 s or more; %4; %5 skipped")
                          .arg(Plural(report.silences.size(), "silence", "silences"))
                          .arg(longOnes)
                          .arg(silenceSeconds)
                          .arg(Plural(report.transitions.size(), "transition", "transitions"),
                               Plural(report.badLines, "bad line", "bad lines"));
    if (report.monitorLines == 0) summary += QStringLiteral("; no monitor line: nothing heard");
    return lines << summary;
}

}  // namespace air_report

namespace {

// The alarm's own setting, kept by the room that raises the alarm; 5 s where none keeps it.
int SilenceSecondsOf(QSettings* store, const QString& startFolder, const QDateTime& now) {
    constexpr int kDefaultSeconds = 5;
    // A station that is never started: only its settings are read, as the week's check does.
    VirtualTimerHost host(now);
    SimulatedPlayerLink link(host, host);
    Station station(startFolder, host, host, link);
    if (store) ReadSettings(*store, station.StoredSettings());
    const std::optional<QString> stored =
        StoredValue(station.StoredSettings(), QStringLiteral("SilenceSeconds"));
    return stored ? IntFromText(*stored, kDefaultSeconds) : kDefaultSeconds;
}

}  // namespace

int RunAirReportCommand(const CommandLine& cl, const QString& startFolder, QSettings* store,
                        const QDateTime& now, QTextStream& out, QTextStream& err) {
    const QString dayText = (cl.airReportDay.isValid() ? cl.airReportDay : now.date())
                                .toString(QStringLiteral("yyyy-MM-dd"));
    const QString path = MakeDataFolders(startFolder).StartFolder + QStringLiteral("asrun/") +
                         dayText + QStringLiteral(".log");
    // Without the day's log there is nothing to report on, which is no finding of the air:
    // it ends as a bad argument does.
    const auto cannotRead = [&err, &path](const QString& why) {
        err << "stavox-mixer: the as-run log " << QDir::toNativeSeparators(path)
            << " cannot be read: " << why << Qt::endl;
        return 2;
    };
    if (!QFileInfo::exists(path)) {
        err << "stavox-mixer: there is no as-run log of " << dayText << ": "
            << QDir::toNativeSeparators(path) << Qt::endl;
        return 2;
    }
    // A folder or a pipe in its place is refused before it is opened: a pipe would wait.
    if (!QFileInfo(path).isFile()) return cannotRead(QStringLiteral("it is not a file"));
    // Read whole rather than mapped: the station may take back a line cut short at the end of
    // today's file while it is read.
    QFile file(path);
    const QByteArray log = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        return cannotRead(file.errorString());
    const air_report::Report report = air_report::Read(log);
    const int silenceSeconds = SilenceSecondsOf(store, startFolder, now);
    for (const QString& line : air_report::TextLines(report, silenceSeconds)) out << line << '\n';
    out.flush();
    return std::ranges::any_of(report.silences,
                               [silenceSeconds](const air_report::Silence& s) {
                                   return air_report::IsLong(s, silenceSeconds);
                               })
               ? 1
               : 0;
}
