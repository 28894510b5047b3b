#include "as_run_invariants.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>

#include "playback/main_loop.h"
#include "schedule/day_program.h"
#include "tools/spot_report.h"

namespace {

const QString kQueueNeverEmpty = QStringLiteral("queue-never-empty");
const QString kOneDeckAtFull = QStringLiteral("one-deck-at-full");
const QString kSpotInQuarter = QStringLiteral("spot-in-quarter");
const QString kProgramAtSlot = QStringLiteral("program-at-slot");
const QString kNoLoadWhilePaused = QStringLiteral("no-load-while-paused");
const QString kFolderUnchanged = QStringLiteral("folder-unchanged");
const QString kSpotsReckoned = QStringLiteral("spots-reckoned");

// A quarter's spots start this long before it (and a tick may add a little).
constexpr qint64 kSpotLeadMs = 6'000;
constexpr qint64 kQuarterMs = 15 * 60'000;
// The longest crossfade: the track that goes is faded out and stopped well within it.
constexpr qint64 kCrossfadeMs = 30'000;
// The tick that finds a new slot comes within this of its start.
constexpr qint64 kProgramLateMs = 5'000;
constexpr qint64 kSlotMs = 30 * 60'000;
// The longest the listener may hear no deck between a sound's end and the next sound's
// start: the next one starts as the deck tells the end.
constexpr qint64 kDeadAirMs = 100;
// The station's first tick comes this long after its start.
constexpr qint64 kStartUpMs = 10'000;

struct Line {
    QDateTime when;
    QString source, event, detail, extra;
};

Line ParseLine(const QString& text) {
    const QStringList f = text.split(u'\t');
    return {QDateTime::fromString(f.value(0), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
            f.value(1), f.value(2), f.value(3), f.value(4)};
}

enum class DeckState { Stopped, Playing, Paused };

// The operator's pause button, whichever way the deck went.
bool IsPauseToggle(const QString& event) { return event == u"pause" || event == u"resume"; }

struct Deck {
    DeckState state = DeckState::Stopped;
    int volume = 0;
    bool heldByPause = false;  // paused by the operator just as its track ended
};

// Walks the log once, keeping what the decks, the mode and the schedule are at each line.
class LogChecker {
public:
    LogChecker(const QStringList& lines, const QString& daysPath)
        : m_lines(lines), m_daysPath(daysPath) {}

    QList<Violation> Run() {
        for (const QString& text : m_lines) FullVolume(ParseLine(text));
        for (m_number = 1; m_number <= m_lines.size(); ++m_number) {
            const Line line = ParseLine(m_lines[m_number - 1]);
            if (!line.when.isValid()) {
                Report(QStringLiteral("log"), QStringLiteral("not an as-run line"));
                continue;
            }
            // Two decks at full are judged once all lines of a moment are in.
            if (m_last.isValid() && line.when != m_last) CheckDecksAtFull();
            CheckDeadAir(line.when);
            CheckProgramsDue(line.when);
            m_last = line.when;
            Take(line);
            NoteSilence(line.when);
        }
        CheckDecksAtFull();
        return m_violations;
    }

private:
    void FullVolume(const Line& line) {
        if (line.source.startsWith(u"deck") && line.event == u"volume")
            m_full = std::max(m_full, line.detail.toInt());
    }

    void Report(const QString& invariant, const QString& reason) {
        m_violations.append({invariant, m_number, reason});
    }

    Deck* DeckOf(const QString& source) {
        if (source == u"deck0") return &m_decks[0];
        if (source == u"deck1") return &m_decks[1];
        return nullptr;
    }

    void Take(const Line& line) {
        if (line.source == u"operator" && line.event == u"manual") TakeManual(line);
        // The player's Play buttons start a track whatever the decks do.
        if (line.source == u"operator" &&
            (line.event == u"play-marked" || line.event == u"play-next"))
            m_operatorStart = line.when;
        if (Deck* deck = DeckOf(line.source)) TakeDeck(*deck, line);
        if (line.source != u"station") return;
        if (line.event == u"program") CheckProgram(line);
        if (line.event == u"queue") CheckQueue(line);
        if (line.event == u"spot") CheckSpot(line);
        if (line.event == u"queue" || line.event == u"spot") CheckNotPaused(line);
        if (line.event == u"queue" && !m_entryStarted) m_automaticSince = line.when;
        if (line.event == u"queue") m_entryStarted = true;
    }

    void TakeManual(const Line& line) {
        m_manual = line.detail == u"on";
        if (!m_manual) m_automaticSince = line.when;
    }

    // No deck playing, and none held by the operator's pause: the listener hears nothing.
    bool Silent() const {
        return std::ranges::none_of(
            m_decks, [](const Deck& d) { return d.state != DeckState::Stopped || d.heldByPause; });
    }

    void NoteSilence(const QDateTime& now) {
        if (!Silent()) {
            m_silentSince = {};
            m_deadAirTold = false;
        } else if (!m_silentSince.isValid()) {
            m_silentSince = now;
        }
    }

    void CheckDeadAir(const QDateTime& now) {
        // Until the first entry starts the station is still starting.
        if (!m_entryStarted || m_manual || m_deadAirTold || !m_silentSince.isValid()) return;
        // The operator's switch back to automatic is acted on at the next tick.
        const QDateTime from =
            m_silentSince > m_automaticSince ? m_silentSince : m_automaticSince.addMSecs(kLoopMs);
        if (from.msecsTo(now) <= kDeadAirMs) return;
        Report(kQueueNeverEmpty,
               QStringLiteral("no deck playing from %1 to %2 in automatic mode")
                   .arg(from.toString(u"HH:mm:ss.zzz"), now.toString(u"HH:mm:ss.zzz")));
        m_deadAirTold = true;
    }

    void TakeDeck(Deck& deck, const Line& line) {
        Deck& other = &deck == &m_decks[0] ? m_decks[1] : m_decks[0];
        if (line.event == u"load") {
            // The deck that comes in crossfades with the one on air until that one stops.
            m_crossfade = other.state == DeckState::Playing;
            m_crossfadeStart = line.when;
            deck.state = DeckState::Playing;
            for (Deck& d : m_decks) d.heldByPause = false;
        } else if (line.event == u"stop" || line.event == u"fadestop" || line.event == u"ended") {
            if (deck.state != DeckState::Stopped) m_crossfade = false;
            deck.state = DeckState::Stopped;
        } else if (IsPauseToggle(line.event) && deck.state == DeckState::Stopped) {
            // A pause that lands as the track ends holds the queue until the operator's
            // next pause: the silence is the operator's.
            deck.heldByPause = !deck.heldByPause;
        } else if (IsPauseToggle(line.event)) {
            if (deck.state == DeckState::Playing) m_pauses.append(line.when);
            deck.state = deck.state == DeckState::Playing ? DeckState::Paused : DeckState::Playing;
        } else if (line.event == u"volume") {
            deck.volume = line.detail.toInt();
        }
    }

    void CheckDecksAtFull() {
        const auto atFull = [this](const Deck& d) {
            return d.state == DeckState::Playing && d.volume >= m_full;
        };
        const bool crossfade = m_crossfade && m_crossfadeStart.msecsTo(m_last) <= kCrossfadeMs;
        const bool both = atFull(m_decks[0]) && atFull(m_decks[1]) && !crossfade;
        if (both && !m_bothAtFull)
            Report(kOneDeckAtFull, QStringLiteral("both decks play at full volume (%1) outside a "
                                                  "crossfade")
                                       .arg(m_full));
        m_bothAtFull = both;
    }

    void CheckQueue(const Line& line) {
        if (!m_programSeen || m_manual) return;
        bool counted = false;
        const int tracksLeft = line.extra.toInt(&counted);
        if (!counted)
            Report(kQueueNeverEmpty, QStringLiteral("the queue line does not say what is left"));
        else if (tracksLeft == 0)
            Report(kQueueNeverEmpty,
                   QStringLiteral("no track left in the queue in automatic mode"));
    }

    void CheckNotPaused(const Line& line) {
        if (line.when == m_operatorStart) return;
        for (int d = 0; d < 2; ++d) {
            if (m_decks[d].state == DeckState::Paused)
                Report(kNoLoadWhilePaused,
                       QStringLiteral("%1 started while deck%2 is paused").arg(line.event).arg(d));
        }
    }

    void CheckSpot(const Line& line) {
        if (line.extra.isEmpty()) return;  // the operator's spot or a jingle: no quarter
        const QDateTime quarter = QDateTime::fromString(line.extra.section(u' ', 0, 1),
                                                        QStringLiteral("yyyy-MM-dd HH:mm"));
        if (!quarter.isValid()) {
            Report(kSpotInQuarter, QStringLiteral("bad place \"%1\"").arg(line.extra));
            return;
        }
        const qint64 fromQuarter = quarter.msecsTo(line.when);
        // The operator's pause holds a run where it is, and it goes on where it stopped at
        // the resume, however late: that is the pause's purpose, not the station's fault.
        const bool heldByPause = std::ranges::any_of(m_pauses, [&](const QDateTime& pause) {
            const qint64 pausedAt = quarter.msecsTo(pause);
            return pausedAt >= -kSpotLeadMs && pausedAt < kQuarterMs;
        });
        if (fromQuarter < -kSpotLeadMs || (fromQuarter >= kQuarterMs && !heldByPause))
            Report(kSpotInQuarter, QStringLiteral("spot of %1 at %2")
                                       .arg(line.extra, line.when.toString(u"HH:mm:ss.zzz")));
        if (m_spotsAired.contains(line.extra))
            Report(kSpotInQuarter, QStringLiteral("%1 aired twice").arg(line.extra));
        m_spotsAired.insert(line.extra);
    }

    // The program of the slot at that time, over "the same as above" slots.
    QString ScheduledProgram(const QDateTime& when) {
        const int weekday = when.date().dayOfWeek() % 7;
        if (!m_days.contains(weekday))
            m_days[weekday] = day_program::ReadDay(m_daysPath, weekday).value;
        const QStringList& slots = m_days[weekday];
        int slot = day_program::SlotOfTime(when.time().hour(), when.time().minute());
        while (slot > 0 && slots.value(slot) == day_program::kSameSlot) --slot;
        return slots.value(slot);
    }

    // The day's program before the slot that starts at slotStart.
    QString ProgramBefore(const QDateTime& slotStart) {
        return ScheduledProgram(slotStart.addMSecs(-1));
    }

    static QDateTime NextSlotStart(const QDateTime& when) {
        const QTime t = when.time();
        const QDateTime slotStart(when.date(), QTime(t.hour(), t.minute() - t.minute() % 30));
        return slotStart.addMSecs(kSlotMs);
    }

    // Every slot that changes the program must have its program line within kProgramLateMs.
    void CheckProgramsDue(const QDateTime& now) {
        if (!m_programSeen) return;
        while (m_nextSlot.msecsTo(now) > kProgramLateMs) {
            const QString due = ScheduledProgram(m_nextSlot);
            const bool changes =
                due != ProgramBefore(m_nextSlot) && !due.isEmpty() && due != day_program::kNullSlot;
            const bool loaded = std::ranges::any_of(m_programLoads, [&](const Line& load) {
                const qint64 late = m_nextSlot.msecsTo(load.when);
                return load.detail == due && late >= 0 && late <= kProgramLateMs;
            });
            if (changes && !loaded)
                Report(kProgramAtSlot, QStringLiteral("\"%1\" due at %2 was not loaded")
                                           .arg(due, m_nextSlot.toString(u"yyyy-MM-dd HH:mm")));
            m_nextSlot = m_nextSlot.addMSecs(kSlotMs);
        }
    }

    void CheckProgram(const Line& line) {
        const QString scheduled = ScheduledProgram(line.when);
        if (line.detail != scheduled)
            Report(kProgramAtSlot, QStringLiteral("\"%1\" loaded where the day has \"%2\"")
                                       .arg(line.detail, scheduled));
        // Before the first entry starts the station is still starting: it loads what runs now.
        if (m_programSeen && m_entryStarted) {
            const QTime t = line.when.time();
            const QTime slotStart(t.hour(), t.minute() - t.minute() % 30);
            if (slotStart.msecsTo(t) > kProgramLateMs)
                Report(kProgramAtSlot,
                       QStringLiteral("loaded %1 after its slot began")
                           .arg(QTime(0, 0).addMSecs(slotStart.msecsTo(t)).toString(u"mm:ss.zzz")));
        }
        if (!m_programSeen) {
            m_nextSlot = NextSlotStart(line.when);
        }
        m_programSeen = true;
        if (m_programLoads.size() > 8) m_programLoads.removeFirst();
        m_programLoads.append(line);
    }

    const QStringList& m_lines;
    const QString m_daysPath;
    QList<Violation> m_violations;
    qsizetype m_number = 0;
    int m_full = 0;
    std::array<Deck, 2> m_decks;
    bool m_crossfade = false;
    bool m_bothAtFull = false;
    bool m_manual = false;
    bool m_programSeen = false;
    bool m_entryStarted = false;
    QDateTime m_last;
    QDateTime m_operatorStart;   // the operator's last Play
    QDateTime m_silentSince;     // since when no deck plays (invalid while one does)
    QDateTime m_automaticSince;  // the first entry, or the last time manual mode ended
    bool m_deadAirTold = false;
    QDateTime m_nextSlot;        // the next slot start whose program line is awaited
    QList<Line> m_programLoads;  // the last program lines
    QDateTime m_crossfadeStart;
    QList<QDateTime> m_pauses;  // when a playing deck was paused
    QSet<QString> m_spotsAired;
    QHash<int, QStringList> m_days;
};

}  // namespace

QStringList AsRunInvariants() {
    return {kQueueNeverEmpty,   kOneDeckAtFull,   kSpotInQuarter, kProgramAtSlot,
            kNoLoadWhilePaused, kFolderUnchanged, kSpotsReckoned};
}

namespace {

// The quarter that holds `when`, as the start of it.
QDateTime QuarterOf(const QDateTime& when) {
    const QTime t = when.time();
    return QDateTime(when.date(), QTime(t.hour(), t.minute() - t.minute() % 15));
}

QString SlotText(const QDateTime& quarter) { return quarter.toString(u"yyyy-MM-dd HH:mm"); }

// What the log says the operator did to the spots' runs: when a deck was held paused, and
// which rows of which quarter were unchecked.
struct OperatorSpotActs {
    QList<std::pair<QDateTime, QDateTime>> paused;  // [from, to) while a deck was paused
    QSet<QString> unchecked;                        // "YYYY-MM-DD HH:MM #N"

    explicit OperatorSpotActs(const QStringList& lines, const QDateTime& to) {
        std::array<bool, 2> playing{}, held{};
        QDateTime heldSince;
        for (const QString& text : lines) {
            const Line line = ParseLine(text);
            const int deck = line.source == u"deck0" ? 0 : line.source == u"deck1" ? 1 : -1;
            if (deck >= 0) TakeDeck(line, playing[deck], held[deck]);
            const bool anyHeld = held[0] || held[1];
            if (anyHeld && !heldSince.isValid()) heldSince = line.when;
            if (!anyHeld && heldSince.isValid()) paused.append({heldSince, line.when});
            if (!anyHeld) heldSince = {};
            if (line.source == u"operator" && line.event.endsWith(u"check-spot")) TakeRow(line);
        }
        if (heldSince.isValid()) paused.append({heldSince, to});
    }

    static void TakeDeck(const Line& line, bool& playing, bool& held) {
        if (line.event == u"load") playing = true, held = false;
        if (line.event == u"stop" || line.event == u"fadestop" || line.event == u"ended")
            playing = false, held = false;
        if (line.event == u"resume") held = false;
        if (line.event == u"pause" && (playing || held)) held = !held;
    }

    // "Next Spots" holds the quarter after the one under way, or, while its run lasts, the
    // one just begun: a row unchecked then is let off in both.
    void TakeRow(const Line& line) {
        const QDateTime quarter = QuarterOf(line.when);
        for (const QDateTime& slot : {quarter, quarter.addMSecs(kQuarterMs)}) {
            const QString place = SlotText(slot) + QStringLiteral(" #") + line.detail;
            if (line.event == u"uncheck-spot")
                unchecked.insert(place);
            else
                unchecked.remove(place);
        }
    }

    bool Held(const QDateTime& from, const QDateTime& to) const {
        return std::ranges::any_of(paused,
                                   [&](const auto& p) { return p.first < to && from < p.second; });
    }
};

}  // namespace

QList<Violation> CheckSpotsReckoned(const QStringList& lines, const QString& spotsPath,
                                    const QDateTime& from, const QDateTime& to) {
    QList<Violation> violations;
    QStringList problems;
    QList<spot_report::Occurrence> occurrences =
        spot_report::Scheduled(spotsPath, from.date(), to.date(), problems);
    for (const QString& problem : problems) violations.append({kSpotsReckoned, 0, problem});
    spot_report::Reckon(occurrences, lines);
    const OperatorSpotActs acts(lines, to);
    for (const spot_report::Occurrence& o : occurrences) {
        const QDateTime quarter = QDateTime::fromString(o.slot, u"yyyy-MM-dd HH:mm");
        const QDateTime runFrom = quarter.addMSecs(-kSpotLeadMs);
        const QDateTime runTo = quarter.addMSecs(kQuarterMs);
        if (runFrom < from.addMSecs(kStartUpMs) || runTo > to) continue;
        const QString place = o.slot + QStringLiteral(" #") + QString::number(o.position);
        if (o.status != spot_report::Status::NotAired || acts.unchecked.contains(place) ||
            acts.Held(runFrom, runTo))
            continue;
        violations.append({kSpotsReckoned, 0,
                           QStringLiteral("%1 (%2) was neither aired, skipped nor cancelled")
                               .arg(place, o.path)});
    }
    return violations;
}

QList<Violation> CheckAsRunLog(const QStringList& lines, const QString& daysPath) {
    return LogChecker(lines, daysPath).Run();
}

QMap<QString, QByteArray> HashFolder(const QString& folder) {
    QMap<QString, QByteArray> hashes;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir base(folder);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (file.open(QIODevice::ReadOnly)) hash.addData(&file);
        hashes[base.relativeFilePath(path)] = file.isOpen() ? hash.result() : QByteArray("unread");
    }
    return hashes;
}

QList<Violation> CompareFolders(const QMap<QString, QByteArray>& before,
                                const QMap<QString, QByteArray>& after) {
    QList<Violation> changes;
    const auto report = [&](const QString& path, const char* what) {
        changes.append({kFolderUnchanged, 0, path + QLatin1String(what)});
    };
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            report(it.key(), " was removed");
        else if (after[it.key()] != it.value())
            report(it.key(), " was changed");
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (!before.contains(it.key())) report(it.key(), " was made");
    return changes;
}
