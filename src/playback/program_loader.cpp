#include "playback/program_loader.h"

#include <QLocale>

#include "base/clock.h"
#include "base/number_text.h"
#include "playback/play_queue.h"
#include "schedule/day_program.h"
#include "schedule/list_file.h"

using day_program::kNullSlot;
using day_program::kSameSlot;

ProgramLoader::ProgramLoader(QString listsPath, QString daysPath, const Clock& clock,
                             PlayQueue& queue)
    : m_listsPath(std::move(listsPath)),
      m_daysPath(std::move(daysPath)),
      m_clock(clock),
      m_queue(queue) {
    m_settings.Add("CheckBoxDontClearAutomaticallyPrevTracks", DontClearPrevTracks);
}

QString ProgramLoader::LabeltracksToPlay1() const {
    return QString::number(m_queue.LabeltracksToPlay1());
}

Result ProgramLoader::LoadProgramOfHour(int hour, int minute) {
    const QDate today = m_clock.Now().date();
    ReadResult<QStringList> day =
        day_program::ReadDay(m_daysPath, day_program::WeekdayNumber(today));
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
    StartLists({listName}, {std::move(read.value)});
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
    StartLists(names, lists);
    if (errors.isEmpty()) return Result::Ok();
    // The calendar goes on with what could be read rather than keep the old program.
    return Result::Warning(QStringLiteral("These lists could not be read and play as empty:\n") +
                           errors.join(u'\n'));
}

void ProgramLoader::StartLists(const QStringList& names, const QList<QStringList>& lists) {
    m_queue.SetProgram(names, lists);
    m_queue.Clear();
    for (int i = 0; i < PlayQueue::kShownEntries; ++i) m_queue.RefillQueue();
    m_queue.ShowNextTracks();
}
