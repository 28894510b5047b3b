#include "tools/week_check.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTimeZone>
#include <algorithm>
#include <limits>
#include <optional>

#include "app/as_run_log.h"
#include "app/station.h"
#include "base/clock.h"
#include "base/number_text.h"
#include "base/text_file.h"
#include "media/mpeg_data.h"
#include "playback/main_loop.h"
#include "schedule/day_program.h"
#include "schedule/list_file.h"
#include "spots/hour_announcement.h"
#include "spots/spot_file.h"
#include "spots/spot_timing.h"

namespace week_check {

Setup SetupOf(const Station& station) {
    Setup setup;
    setup.folders = station.Folders();
    setup.mixingSeconds = station.Engine().Bars().MixingSeconds();
    setup.skipIntroSec = station.Engine().SkipIntro ? station.Engine().SkipIntroSec : 0;
    setup.smartMixing = station.Engine().Level().SmartMixing;
    setup.analyses = station.Engine().Level().Analyses();
    setup.shutDown = station.Shutdown().ShutDown();
    setup.shutDownHour = station.Shutdown().ShutDownHour();
    setup.shutDownMin = station.Shutdown().ShutDownMin();
    setup.hourExtension = station.Announcement().Extension();
    return setup;
}

QString WarningLine(const Warning& warning) {
    return warning.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")) + u'\t' + warning.kind +
           u'\t' + warning.detail;
}

namespace {

using day_program::kNullSlot;
using day_program::kSameSlot;
using day_program::kSlotCount;

// What the station's files say, repeated in a warning: never more of it than a line holds.
QString Quoted(const QString& text) { return u'"' + CutForEcho(text) + u'"'; }

QString MinSec(std::int64_t seconds) {
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// The wall-clock start of a slot; slot 48 is the next midnight.
QDateTime SlotStart(const QDate& date, int slot) {
    if (slot >= kSlotCount) return QDateTime(date.addDays(1), QTime(0, 0));
    return QDateTime(date, QTime(slot / 2, slot % 2 * 30));
}

// "hh:mm-hh:mm" of a span of one day; its end at midnight is "24:00".
QString SpanText(const QDateTime& from, const QDateTime& to) {
    const QString end = to.date() > from.date() && to.time() == QTime(0, 0)
                            ? QStringLiteral("24:00")
                            : to.toString(QStringLiteral("HH:mm"));
    return from.toString(QStringLiteral("HH:mm")) + u'-' + end;
}

// "hh:mm-hh:mm" of a program's slots, as the calendar shows them.
QString SlotSpanText(const day_program::ProgramSpan& span) {
    return day_program::SlotToTime(span.startSlot) + u'-' + day_program::SlotToTime(span.endSlot);
}

bool IsSlotMarker(const QString& value) { return value == kNullSlot || value == kSameSlot; }

// A program of the day as the calendar shows it: "value" hh:mm-hh:mm.
QString Named(const QStringList& slots, const day_program::ProgramSpan& span) {
    return Quoted(slots.at(span.startSlot)) + u' ' + SlotSpanText(span);
}

// The program the scheduler holds while `slot` plays (its value); empty for an empty slot.
QString ProgramAt(const QStringList& slots, int slot) {
    if (slot < 0 || slot >= kSlotCount) return {};
    const QString& value = slots.at(day_program::SpanOfSlot(slots, slot).startSlot);
    return IsSlotMarker(value) ? QString() : value;
}

// --- the clocks ---

constexpr int kQuarterSeconds = 15 * 60;

// Wall-clock readings are kept as UTC date-times, so that no time zone moves them.
QDateTime WallClock(const QDateTime& instant, int offsetFromUtc) {
    return instant.toUTC().addSecs(offsetFromUtc);
}
QDateTime Wall(const QDate& date, const QTime& time) { return QDateTime(date, time, Qt::UTC); }
QString HourMinute(const QDateTime& wall) { return wall.toString(QStringLiteral("HH:mm")); }

QDateTime FloorQuarter(const QDateTime& wall) {
    const QTime time = wall.time();
    return Wall(wall.date(), QTime(time.hour(), time.minute() / 15 * 15));
}
QDateTime CeilQuarter(const QDateTime& wall) {
    const QDateTime floor = FloorQuarter(wall);
    return floor == wall ? floor : floor.addSecs(kQuarterSeconds);
}

// The local time the wall clock shows that reading at; a reading the clocks skip has none.
std::optional<QDateTime> LocalAt(const QDateTime& wall) {
    const QDateTime local(wall.date(), wall.time());
    if (!local.isValid() || local.date() != wall.date() || local.time() != wall.time()) return {};
    return local;
}

// A change of the clocks: at `instant` the wall clock jumps from `before` to `after`.
struct ClockJump {
    QDateTime instant;
    QDateTime before;
    QDateTime after;
    bool Forward() const { return after > before; }
    // The stretch of readings skipped (forward) or shown twice (back).
    QDateTime Low() const { return std::min(before, after); }
    QDateTime High() const { return std::max(before, after); }
    // The first and last quarters whose spots fall due in the stretch, as the spot runner
    // plays them: a little before the quarter, once each time the clock passes that
    // reading. After the jump it prepares the quarter after the one it lands in.
    QDateTime FirstQuarter() const { return CeilQuarter(spot_timing::QuarterDueAt(Low())); }
    QDateTime LastQuarter() const {
        return FloorQuarter(spot_timing::QuarterDueAt(High().addSecs(-1)));
    }
};

QList<ClockJump> ClockJumps(const QDateTime& from, const QDateTime& to) {
    QList<ClockJump> jumps;
    const QTimeZone zone = QTimeZone::systemTimeZone();
    if (!zone.hasTransitions()) return jumps;
    for (const QTimeZone::OffsetData& change : zone.transitions(from, to)) {
        const int before = zone.offsetFromUtc(change.atUtc.addSecs(-1));
        if (change.offsetFromUtc == before) continue;
        jumps.append({change.atUtc.toLocalTime(), WallClock(change.atUtc, before),
                      WallClock(change.atUtc, change.offsetFromUtc)});
    }
    return jumps;
}

// "03:15" or "03:15 to 04:00"; empty when the stretch is too short to hold a quarter's turn.
QString QuartersText(const ClockJump& jump) {
    const QDateTime first = jump.FirstQuarter();
    const QDateTime last = jump.LastQuarter();
    if (first > last) return {};
    if (first == last) return HourMinute(first);
    return HourMinute(first) + QStringLiteral(" to ") + HourMinute(last);
}

QString JumpText(const ClockJump& jump) {
    const QString stretch = HourMinute(jump.Low()) + u'-' + HourMinute(jump.High());
    const QString quarters = QuartersText(jump);
    if (jump.Forward())
        return QStringLiteral("clocks go forward from %1 to %2: %3 is skipped")
                   .arg(HourMinute(jump.before), HourMinute(jump.after), stretch) +
               (quarters.isEmpty() ? QString()
                                   : QStringLiteral(" and the spots of ") + quarters +
                                         QStringLiteral(" never play"));
    return QStringLiteral("clocks go back from %1 to %2: %3 comes twice")
               .arg(HourMinute(jump.before), HourMinute(jump.after), stretch) +
           (quarters.isEmpty()
                ? QString()
                : QStringLiteral(" and the spots of ") + quarters + QStringLiteral(" play twice"));
}

// The scheduler loads the program of each slot as the slot begins, unless that program is
// the one it holds and the slot continues it. Skipped slots [first, last): the tick after
// the jump is in `last`.
QStringList SkippedPrograms(const QStringList& slots, int first, int last, const QString& lowText,
                            const QString& highText) {
    QStringList told;
    const QString playing = ProgramAt(slots, first - 1);
    if (!playing.isEmpty()) {
        const day_program::ProgramSpan cut = day_program::SpanOfSlot(slots, first - 1);
        if (cut.endSlot > first && cut.endSlot <= last)
            told << Named(slots, cut) + QStringLiteral(" ends at ") + lowText;
    }
    for (int slot = first; slot < last; ++slot) {
        const day_program::ProgramSpan span = day_program::SpanOfSlot(slots, slot);
        if (span.startSlot == slot && span.endSlot <= last && !IsSlotMarker(slots.at(slot)))
            told << Named(slots, span) + QStringLiteral(" never plays");
    }
    if (last < kSlotCount) {
        const day_program::ProgramSpan landing = day_program::SpanOfSlot(slots, last);
        const QString& value = slots.at(landing.startSlot);
        if (!IsSlotMarker(value) && landing.startSlot < last)
            told << Named(slots, landing) + (value == playing
                                                 ? QStringLiteral(" plays on")
                                                 : QStringLiteral(" begins at ") + highText);
    }
    return told;
}

// Repeated slots [first, last): after the jump the tick is in `first` again, holding the
// program of slot last - 1.
QStringList RepeatedPrograms(const QStringList& slots, int first, int last,
                             const QString& lowText) {
    QStringList told;
    const QString playing = ProgramAt(slots, last - 1);
    for (int slot = first; slot < last; ++slot) {
        const day_program::ProgramSpan span = day_program::SpanOfSlot(slots, slot);
        const QString& value = slots.at(span.startSlot);
        if (IsSlotMarker(value)) continue;
        if (slot == first && span.startSlot < first)
            told << Named(slots, span) + (value == playing
                                              ? QStringLiteral(" plays on")
                                              : QStringLiteral(" starts again at ") + lowText);
        else if (span.startSlot == slot)
            told << Named(slots, span) + QStringLiteral(" starts again");
    }
    return told;
}

// The slot of a wall reading on `day`: before the day is its first slot, after it the end.
int SlotOfWall(const QDate& day, const QDateTime& wall) {
    if (wall.date() < day) return 0;
    if (wall.date() > day) return kSlotCount;
    return day_program::SlotOfTime(wall.time().hour(), wall.time().minute());
}

struct ListState {
    QString problem;  // why the list cannot be played; empty when it can
    QStringList paths;
};

struct TrackState {
    bool exists = false;
    std::uint32_t seconds = 0;
};

struct SpotFileState {
    QStringList lines;  // 240
    QString problem;
    qsizetype linesPastEnd = 0;
    bool told = false;
};

// What the station would meet in the span, in the order it would meet it.
class Checker {
public:
    Checker(const Setup& setup, const QDateTime& from, const QDateTime& to)
        : m_setup(setup), m_from(from), m_to(to) {}

    QList<Warning> Run() {
        m_jumps = ClockJumps(m_from.addDays(-1), m_to.addDays(1));
        CheckJingleBanks();
        CheckHourFragments();
        for (QDate day = m_from.date(); SlotStart(day, 0) < m_to; day = day.addDays(1))
            CheckDay(day);
        CheckSpots();
        CheckClockChanges();
        std::stable_sort(m_warnings.begin(), m_warnings.end(),
                         [](const Warning& a, const Warning& b) { return a.when < b.when; });
        return m_warnings;
    }

private:
    void Add(const QDateTime& when, const QString& kind, const QString& detail) {
        m_warnings.append({when, kind, OneField(detail)});
    }
    // Some warnings are told once, at the first time they matter.
    bool FirstTime(const QString& key) {
        if (m_told.contains(key)) return false;
        m_told.insert(key);
        return true;
    }

    const ListState& List(const QString& name) {
        auto found = m_lists.find(name);
        if (found != m_lists.end()) return *found;
        ListState state;
        if (!IsSafeFileName(name) || !QFileInfo::exists(m_setup.folders.ListsPath + name)) {
            state.problem = QStringLiteral("no such list");
        } else {
            ReadResult<QStringList> read = list_file::Read(m_setup.folders.ListsPath, name);
            if (read.ok())
                for (const QString& line : read.value)
                    if (!line.trimmed().isEmpty()) state.paths << line;
            if (!read.ok()) state.problem = read.message();
        }
        return *m_lists.insert(name, state);
    }

    const TrackState& Track(const QString& path) {
        auto found = m_tracks.find(path);
        if (found != m_tracks.end()) return *found;
        TrackState state;
        state.exists = QFileInfo(path).isFile();
        if (state.exists) state.seconds = TrackLength(path);
        return *m_tracks.insert(path, state);
    }

    // --- the calendar ---
    void CheckDay(const QDate& day) {
        const int weekday = day_program::WeekdayNumber(day);
        ReadResult<QStringList> slots = day_program::ReadDay(m_setup.folders.DaysPath, weekday);
        const QDateTime dayStart = std::max(SlotStart(day, 0), m_from);
        const QDateTime dayEnd = std::min(SlotStart(day, kSlotCount), m_to);
        if (!slots.ok()) {
            Add(dayStart, kDeadAir,
                SpanText(dayStart, dayEnd) + QStringLiteral(", ") + slots.message());
            return;
        }
        int slot = day == m_from.date()
                       ? day_program::SlotOfTime(m_from.time().hour(), m_from.time().minute())
                       : 0;
        while (slot < kSlotCount && SlotStart(day, slot) < m_to) {
            const day_program::ProgramSpan span = day_program::SpanOfSlot(slots.value, slot);
            int end = span.endSlot;
            // Empty slots side by side are one silence.
            while (IsSlotMarker(slots.value.at(span.startSlot)) && end < kSlotCount &&
                   IsSlotMarker(slots.value.at(end)))
                end = day_program::SpanOfSlot(slots.value, end).endSlot;
            const QDateTime programStart = SlotStart(day, span.startSlot);
            CheckProgram(slots.value.at(span.startSlot), programStart,
                         std::max(programStart, m_from), std::min(SlotStart(day, end), m_to));
            slot = end;
        }
        CheckShutdown(day);
    }

    // The program of [programStart, end) as far as the span [start, end) holds it; its music
    // counts from programStart, when the scheduler loaded it.
    void CheckProgram(const QString& value, const QDateTime& programStart, const QDateTime& start,
                      const QDateTime& end) {
        const std::int64_t length = start.secsTo(end);
        if (length <= kLongestGapSeconds) return;
        const QString span = SpanText(start, end);
        if (IsSlotMarker(value)) {
            Add(start, kDeadAir, span + QStringLiteral(", empty slot"));
            return;
        }
        int entries = 0;
        int playable = 0;
        // Each track until the next one starts; then the last one plays to its end, and
        // the last may be any of them: the one that adds least counts.
        std::int64_t musicMs = 0;
        std::int64_t lastTailMs = std::numeric_limits<std::int64_t>::max();
        for (const QString& name : SplitProgramValue(value).mid(0, kMaxProgramLists)) {
            if (IsSlotMarker(name)) continue;
            const ListState& list = List(name);
            if (!list.problem.isEmpty() && FirstTime(QStringLiteral("list\n") + name))
                Add(start, kMissingList,
                    Quoted(name) + QStringLiteral(" of program ") + Quoted(value) +
                        QStringLiteral(": ") + list.problem);
            for (const QString& path : list.paths) {
                ++entries;
                const TrackState& track = Track(path);
                if (!track.exists) {
                    if (FirstTime(QStringLiteral("track\n") + name + u'\n' + path))
                        Add(start, kMissingTrack, name + QStringLiteral(": ") + path);
                    continue;
                }
                ++playable;
                const TrackAir air = TrackOnAir(
                    int(std::min<std::uint32_t>(track.seconds, std::numeric_limits<int>::max())),
                    m_setup.mixingSeconds, m_setup.skipIntroSec,
                    m_setup.analyses ? m_setup.analyses->Find(path) : std::nullopt,
                    m_setup.smartMixing);
                musicMs += air.nextStartsMs;
                lastTailMs =
                    std::min(lastTailMs, std::max<std::int64_t>(air.endsMs - air.nextStartsMs, 0));
            }
        }
        if (entries == 0) {
            Add(start, kDeadAir, span + QStringLiteral(", empty program ") + Quoted(value));
        } else if (playable == 0) {
            Add(start, kDeadAir,
                span + QStringLiteral(", every track missing in ") + Quoted(value));
        } else if (const std::int64_t whole = programStart.secsTo(end),
                   music = (musicMs + lastTailMs) / 1000;
                   music + kLongestGapSeconds < whole) {
            Add(start, kShortProgram,
                Quoted(value) + u' ' + SpanText(programStart, end) +
                    QStringLiteral(": music for ") + MinSec(music) + QStringLiteral(" of ") +
                    MinSec(whole));
        }
    }

    // The machine goes off in the minute after the set one, when the countdown ends.
    void CheckShutdown(const QDate& day) {
        if (!m_setup.shutDown) return;
        const QDateTime set(day, QTime(m_setup.shutDownHour, m_setup.shutDownMin));
        if (!set.isValid() || set < m_from || set >= m_to) return;
        const QDateTime off = set.addSecs(60);
        ReadResult<QStringList> slots =
            day_program::ReadDay(m_setup.folders.DaysPath, day_program::WeekdayNumber(off.date()));
        if (!slots.ok()) return;
        const auto span = day_program::SpanOfSlot(
            slots.value, day_program::SlotOfTime(off.time().hour(), off.time().minute()));
        const QString value = slots.value.at(span.startSlot);
        if (IsSlotMarker(value)) return;
        Add(set, kShutdown,
            QStringLiteral("the station powers off at ") + off.toString(QStringLiteral("HH:mm")) +
                QStringLiteral(" during ") + Quoted(value) + u' ' + SlotSpanText(span));
    }

    // --- the spots ---
    SpotFileState& SpotFile(int weekday, int quarter) {
        const int key = weekday * 4 + quarter;
        auto found = m_spotFiles.find(key);
        if (found != m_spotFiles.end()) return *found;
        SpotFileState state;
        ReadResult<QStringList> read = spot_file::Read(m_setup.folders.SpotsPath, weekday, quarter);
        state.lines = read.value;
        if (!read.ok()) state.problem = read.message();
        const ReadResult<QStringList> raw =
            text_file::ReadLines(spot_file::Path(m_setup.folders.SpotsPath, weekday, quarter));
        if (read.ok() && raw.ok())
            state.linesPastEnd = std::max<qsizetype>(0, raw.value.size() - spot_file::kLines);
        return *m_spotFiles.insert(key, state);
    }

    void CheckSpots() {
        for (QDate day = m_from.date(); SlotStart(day, 0) < m_to; day = day.addDays(1))
            for (int hour = 0; hour < spot_file::kHours; ++hour)
                for (int quarter = 0; quarter < 4; ++quarter) {
                    const QDateTime slot = Wall(day, QTime(hour, quarter * 15));
                    // Spots the clocks skip never air (their clock-change warning says so).
                    if (!AirsAtAll(slot)) continue;
                    const QDateTime when = WhenDue(slot);
                    if (when >= m_from && when < m_to) CheckSpotSlot(slot, when, quarter);
                }
    }

    bool AirsAtAll(const QDateTime& slot) const {
        const QDateTime due = spot_timing::RunDueAt(slot);
        return std::none_of(m_jumps.begin(), m_jumps.end(), [&due](const ClockJump& jump) {
            return jump.Forward() && due >= jump.Low() && due < jump.High();
        });
    }

    // The slot's local time; a slot whose start the clocks skip airs just before the jump.
    static QDateTime WhenDue(const QDateTime& slot) {
        if (const auto local = LocalAt(slot)) return *local;
        return LocalAt(spot_timing::RunDueAt(slot)).value_or(QDateTime());
    }

    void CheckSpotSlot(const QDateTime& slotWall, const QDateTime& when, int quarter) {
        const int hour = slotWall.time().hour();
        const int weekday = day_program::WeekdayNumber(slotWall.date());
        SpotFileState& file = SpotFile(weekday, quarter);
        const QString fileName = QStringLiteral("%1-%2").arg(weekday).arg(quarter);
        if (!file.told) {
            file.told = true;
            if (!file.problem.isEmpty()) Add(when, kMissingSpot, file.problem);
            if (file.linesPastEnd > 0)
                Add(when, kSpotOverflow,
                    QStringLiteral("spot file %1: %2 lines past the %3th never air")
                        .arg(fileName)
                        .arg(file.linesPastEnd)
                        .arg(spot_file::kLines));
        }
        if (file.lines.size() < spot_file::kLines) return;  // unreadable: told above
        const QString slot = QStringLiteral("slot ") + HourMinute(slotWall);
        const QStringList spots = spot_file::SlotSpots(file.lines, hour);
        for (const QString& path : spots)
            if (!Track(path).exists) Add(when, kMissingSpot, slot + QStringLiteral(": ") + path);
        // A slot's spots end at its first empty place; any after it are never played.
        const QStringList places =
            file.lines.mid(hour * spot_file::kSpotsPerSlot, spot_file::kSpotsPerSlot);
        const auto stranded = std::count_if(
            places.begin() + spots.size(), places.end(),
            [](const QString& p) { return p != spot_file::kNullSpot && !p.trimmed().isEmpty(); });
        if (stranded > 0)
            Add(when, kSpotOverflow,
                slot + QStringLiteral(" (spot file %1): ").arg(fileName) +
                    (stranded == 1 ? QStringLiteral("1 spot after an empty place never airs")
                                   : QStringLiteral("%1 spots after an empty place never air")
                                         .arg(stranded)));
    }

    // --- daylight saving ---
    void CheckClockChanges() {
        for (const ClockJump& jump : m_jumps)
            if (jump.instant >= m_from && jump.instant <= m_to)
                Add(jump.instant, kClockChange,
                    JumpText(jump) + QStringLiteral("; ") + CalendarAtJump(jump));
    }

    QString CalendarAtJump(const ClockJump& jump) const {
        const QDate day = jump.Low().date();
        const ReadResult<QStringList> slots =
            day_program::ReadDay(m_setup.folders.DaysPath, day_program::WeekdayNumber(day));
        if (!slots.ok()) return slots.message();
        const int first = SlotOfWall(day, jump.Low());
        const int last = SlotOfWall(day, jump.High());
        const QStringList told =
            jump.Forward() ? SkippedPrograms(slots.value, first, last, HourMinute(jump.Low()),
                                             HourMinute(jump.High()))
                           : RepeatedPrograms(slots.value, first, last, HourMinute(jump.Low()));
        return told.isEmpty() ? QStringLiteral("no program is scheduled then")
                              : told.join(QStringLiteral(", "));
    }

    // --- the jingle wall and the hour announcement ---
    void CheckJingleBanks() {
        const QString banksFile = m_setup.folders.SpotsPath + QStringLiteral("jingles");
        const ReadResult<QStringList> banks = text_file::ReadLines(banksFile);
        if (!banks.ok()) {
            Add(m_from, kJingleBank, banks.message());
            return;
        }
        for (int tab = 0; tab < banks.value.size(); ++tab) {
            const QString& name = banks.value.at(tab);
            // A tab cleared to its own name ("J" and its index) holds no bank.
            if (name == QStringLiteral("J%1").arg(tab) || name.isEmpty()) continue;
            const ListState& list = List(name);
            if (!list.problem.isEmpty())
                Add(m_from, kJingleBank,
                    QStringLiteral("tab %1: ").arg(tab) + Quoted(name) + QStringLiteral(": ") +
                        list.problem);
        }
    }

    void CheckHourFragments() {
        QStringList needed;
        for (int hour = 0; hour < 24; ++hour)
            for (int minute = 0; minute < 60; ++minute)
                for (const QString& name : HourFragments(hour, minute, 0))
                    if (!needed.contains(name)) needed << name;
        QStringList missing;
        for (const QString& name : needed)
            if (!QFileInfo(m_setup.folders.HoursPath + name + m_setup.hourExtension).isFile())
                missing << name + m_setup.hourExtension;
        // The announcement plays only when the operator asks for it: a station without
        // recordings at all does without it, and only a partial set is a fault.
        if (missing.size() == needed.size()) return;
        for (const QString& file : missing)
            Add(m_from, kHourFragment,
                QStringLiteral("hour1/") + file + QStringLiteral(" is missing"));
    }

    const Setup& m_setup;
    QDateTime m_from;
    QDateTime m_to;
    QList<Warning> m_warnings;
    QSet<QString> m_told;
    QList<ClockJump> m_jumps;
    QHash<QString, ListState> m_lists;
    QHash<QString, TrackState> m_tracks;
    QHash<int, SpotFileState> m_spotFiles;
};

}  // namespace

QList<Warning> CheckWeek(const Setup& setup, const QDateTime& from, std::int64_t forMs) {
    return Checker(setup, from, from.addMSecs(forMs)).Run();
}

std::function<QList<WeekWarning>()> WeekFromNow(const Station& station) {
    constexpr std::int64_t kWeekMs = 7 * 86'400'000LL;
    return [setup = SetupOf(station), from = station.StationClock().Now()] {
        QList<WeekWarning> warnings;
        for (const Warning& w : CheckWeek(setup, from, kWeekMs))
            warnings.append({w.when, w.kind, w.detail});
        return warnings;
    };
}

}  // namespace week_check
