#include "playback/program_loader.h"

#include <QLocale>

#include "base/clock.h"
#include "base/number_text.h"
#include "playback/main_loop.h"
#include "playback/playback_engine.h"
#include "schedule/calendar.h"
#include "schedule/day_program.h"
#include "schedule/list_file.h"

using day_program::kNullSlot;
using day_program::kSameSlot;

ProgramLoader::ProgramLoader(QString listsPath, Calendar& calendar, const Clock& clock,
                             PlaybackEngine& engine)
    : m_listsPath(std::move(listsPath)), m_calendar(calendar), m_clock(clock), m_engine(engine) {
    m_settings.Add("CheckBoxDontClearAutomaticallyPrevTracks", DontClearPrevTracks);
    // Only a change of what plays now redraws the queue; other days and hours wait for
    // their time, and the song on air does not come round again.
    connect(&calendar, &Calendar::ProgramsChanged, this,
            [this](int weekday, const day_program::ProgramSpan& span) {
                if (day_program::ChangesProgramPlaying(weekday, span, m_clock.Now()))
                    m_reloadDue = true;
            });
}

bool ProgramLoader::TakesTick(const TickMoment& moment) {
    const int slot = day_program::SlotOfTime(moment.hour, moment.minute);
    if (SlotBegins(slot, m_lastProgramSlot)) {
        m_lastProgramSlot = slot;
        LoadOnTick(moment);
    } else if (m_reloadDue) {
        m_reloadDue = false;
        LoadOnTick(moment);
    }
    return false;
}

void ProgramLoader::LoadOnTick(const TickMoment& moment) {
    // A list that cannot be read plays as empty; the operator hears why as a Problem.
    const Result loaded = LoadProgramOfHour(moment.hour, moment.minute);
    if (loaded.kind() != Result::Kind::Ok) Q_EMIT Problem(loaded.message());
}

void ProgramLoader::SetLastProgramSlot(int slot) { m_lastProgramSlot = slot; }

void ProgramLoader::GoOnWith(const QString& programName, bool byHand) {
    m_programName = programName;
    m_told.value = programName;
    HandProgramPlaying = byHand;
    m_reloadDue = false;  // the start-up's second look would draw the queue afresh
}

QString ProgramLoader::LabeltracksToPlay1() const {
    return QString::number(m_engine.Queue().LabeltracksToPlay1());
}

Result ProgramLoader::LoadProgramOfHour(int hour, int minute) {
    const QDate today = m_clock.Now().date();
    ReadResult<QStringList> day = m_calendar.DayOnAir(day_program::WeekdayNumber(today));
    if (!day.ok()) return day;
    m_programNow = std::move(day.value);

    const int c = day_program::SlotOfTime(hour, minute);
    if (c < 0 || c >= day_program::kSlotCount) return Result::Ok();
    if (c != m_told.slot || today != m_told.date) m_told = {today, c, QString(), QString()};
    if (HandProgramPlaying) {
        // A list started by hand plays on through the rest of the running program.
        if (m_programNow.at(c) == kSameSlot) return Result::Ok();
        HandProgramPlaying = false;
    }
    const day_program::ProgramSpan span = day_program::SpanOfSlot(m_programNow, c);
    const QString value = m_programNow.at(span.startSlot);
    // A continuation slot of the program already playing keeps its queue.
    if (span.startSlot < c && value == m_programName) return Result::Ok();

    m_date = today.toString(QStringLiteral("d-M-yy"));
    m_dayName = QLocale().toString(today, QStringLiteral("dddd"));
    m_span = day_program::SlotToTime(span.startSlot) + QStringLiteral(" - ") +
             day_program::SlotToTime(span.endSlot);
    m_programName = value;
    if (!DontClearPrevTracks) Q_EMIT PlayedListOutdated();
    // Loaded again within its slot (the first tick after start-up looks once more, a
    // calendar edit may leave it as it was), a program redraws its queue but is told once.
    // Eleven lists' names fit whole; a damaged day file's megabyte does not reach the log.
    if (value != m_told.value) {
        m_told.value = value;
        Q_EMIT ProgramLoaded(CutForEcho(value, 4096));
    }
    Result loaded = LoadLists(SplitProgramValue(value).mid(0, kMaxProgramLists));
    // The same lists' problem, found again by such a reload, has been told already.
    if (loaded.kind() == Result::Kind::Warning) {
        if (loaded.message() == m_told.problem) return Result::Ok();
        m_told.problem = loaded.message();
    }
    return loaded;
}

void ProgramLoader::CheckBoxDontClearAutomaticallyPrevTracksClick(bool checked) {
    DontClearPrevTracks = checked;
}

Result ProgramLoader::PlayTheProgramnow1Click(const QString& listName) {
    if (listName.isEmpty()) return Result::Ok();
    // The operator's command: a list that cannot be read changes nothing.
    ReadResult<QStringList> read = list_file::Read(m_listsPath, listName);
    if (!read.ok()) return read;
    m_programName = listName;
    m_told = {};  // the calendar's program, back after this list, is told again
    m_engine.StartProgram({listName}, {std::move(read.value)});
    HandProgramPlaying = true;
    return Result::Ok();
}

Result ProgramLoader::LoadLists(const QStringList& names) {
    QList<QStringList> lists;
    QStringList errors;
    for (const QString& name : names) {
        // The markers of an empty slot name no list, even if a file of that name exists.
        if (name == kNullSlot || name == kSameSlot) {
            lists.append(QStringList());
            continue;
        }
        // A list that is not there plays as empty too, and leaves as large a hole.
        if (!list_file::Exists(m_listsPath, name)) {
            errors.append(name + QStringLiteral(": no such list"));
            lists.append(QStringList());
            continue;
        }
        ReadResult<QStringList> read = list_file::Read(m_listsPath, name);
        if (!read.ok()) errors.append(name + QStringLiteral(": ") + read.message());
        lists.append(std::move(read.value));
    }
    m_engine.StartProgram(names, lists);
    if (errors.isEmpty()) return Result::Ok();
    // The calendar goes on with what could be read rather than keep the old program.
    return Result::Warning(QStringLiteral("These lists could not be read and play as empty:\n") +
                           errors.join(u'\n'));
}
