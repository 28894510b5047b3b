#include "spots/spot_schedule.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>

#include "base/clock.h"
#include "schedule/day_program.h"
#include "schedule/list_file.h"
#include "schedule/program_lock.h"
#include "spots/spot_file.h"

namespace {

bool IsHour(int hour) { return hour >= 0 && hour < spot_file::kHours; }
bool IsQuarter(int quarter) { return quarter >= 0 && quarter <= 3; }
bool IsWeekday(int weekday) { return weekday >= 0 && weekday <= 6; }

}  // namespace

SpotSchedule::SpotSchedule(QString spotsPath, const Clock& clock, const ProgramLock& lock)
    : m_spotsPath(std::move(spotsPath)), m_clock(clock), m_lock(lock) {}

Result SpotSchedule::StartUp(int weekday) {
    if (IsWeekday(weekday)) m_dayTab = weekday;
    m_ready = true;
    return ComboBoxHourSpots1Change(0);
}

QStringList SpotSchedule::QuarterCaptions() const {
    const QString hour = QStringLiteral("%1").arg(m_hour, 2, 10, QLatin1Char('0'));
    return {hour + QStringLiteral(":00"), hour + QStringLiteral(":15"),
            hour + QStringLiteral(":30"), hour + QStringLiteral(":45")};
}

QStringList SpotSchedule::NextSpotTitles() const {
    QStringList titles;
    for (const QString& path : m_nextPaths) titles << TrackTitle(path);
    return titles;
}

bool SpotSchedule::NextSpotChecked(int index) const {
    return index >= 0 && index < int(m_nextChecked.size()) && m_nextChecked[index];
}

int SpotSchedule::FirstCheckedSpot() const {
    for (int i = 0; i < int(m_nextChecked.size()); ++i)
        if (m_nextChecked[i]) return i;
    return -1;
}

int SpotSchedule::CheckedSpotCount() const {
    return int(std::count(m_nextChecked.begin(), m_nextChecked.end(), true));
}

// --- the editor -------------------------------------------------------------------------

Result SpotSchedule::TabControlSpotsChange(int weekday) {
    if (!m_ready || !IsWeekday(weekday)) return Result::Ok();
    m_dayTab = weekday;
    return LoadSpotSlot(m_quarterTab);
}

Result SpotSchedule::ComboBoxHourSpots1Change(int hour) {
    if (!IsHour(hour)) return Result::Ok();
    m_hour = hour;
    m_editedHour = hour;
    return LoadSpotSlot(m_quarterTab);
}

Result SpotSchedule::TabSet1Change(int quarter) { return LoadSpotSlot(quarter); }

Result SpotSchedule::LoadSpotSlot(int quarter) {
    if (!IsQuarter(quarter)) return Result::Ok();
    m_quarterTab = quarter;
    m_editedQuarter = quarter;
    m_editedDay = m_dayTab;
    m_editedHour = m_hour;
    return ReadEditedSlot();
}

Result SpotSchedule::ReadEditedSlot() {
    const ReadResult<QStringList> file = spot_file::Read(m_spotsPath, m_editedDay, m_editedQuarter);
    m_editedFile = file.value;
    m_editedProblem = file.ok() ? QString() : file.message();
    m_editedUnsaved = false;
    m_editedPaths = spot_file::SlotSpots(m_editedFile, m_editedHour);
    m_editedTitles.clear();
    for (const QString& path : m_editedPaths) m_editedTitles << TrackTitle(path);
    m_selected = -1;
    return file;
}

Result SpotSchedule::SaveSpotSlot() {
    // A slot only looked at is never written: the file stays byte for byte as it was.
    if (!m_editedUnsaved || m_editedDay == kNoSlot || m_editedHour == kNoSlot ||
        m_editedQuarter == kNoSlot)
        return Result::Ok();
    // What was read from a damaged file is not what it holds: writing it would destroy it.
    if (!m_editedProblem.isEmpty())
        return Result::Error(m_editedProblem + QStringLiteral(". Nothing was saved."));
    for (int k = 0; k < spot_file::kSpotsPerSlot; ++k) {
        m_editedFile[m_editedHour * spot_file::kSpotsPerSlot + k] =
            k < m_editedPaths.size() ? m_editedPaths[k] : spot_file::kNullSpot;
    }
    Result written = spot_file::Write(m_spotsPath, m_editedDay, m_editedQuarter, m_editedFile);
    if (written.ok()) m_editedUnsaved = false;
    return written;
}

Result SpotSchedule::SpotFilesRewritten() {
    m_refreshNextSpots = true;
    if (m_editedDay == kNoSlot || m_editedHour == kNoSlot || m_editedQuarter == kNoSlot)
        return Result::Ok();
    return ReadEditedSlot();
}

void SpotSchedule::SelectSpot(int row) {
    m_selected = row >= 0 && row < m_editedPaths.size() ? row : -1;
}

void SpotSchedule::SetNextSpotChecked(int index, bool checked) {
    if (index >= 0 && index < int(m_nextChecked.size())) m_nextChecked[index] = checked;
}

Result SpotSchedule::EditRefusal() const {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (!m_editedProblem.isEmpty())
        return Result::Error(m_editedProblem + QStringLiteral(". Nothing was changed."));
    return Result::Ok();
}

Result SpotSchedule::EditDone() {
    m_editedUnsaved = true;
    Result saved = SaveSpotSlot();
    m_spotsEdited = true;
    m_refreshNextSpots = true;
    return saved;
}

Result SpotSchedule::MoveSelected(int by) {
    if (Result refused = EditRefusal(); !refused.ok()) return refused;
    const int from = m_selected;
    const int to = from + by;
    if (from < 0 || to < 0 || to >= m_editedPaths.size()) return Result::Ok();
    m_editedPaths.move(from, to);
    m_editedTitles.move(from, to);
    m_selected = to;
    return EditDone();
}

Result SpotSchedule::BitBtnSpotUp1Click() { return MoveSelected(-1); }
Result SpotSchedule::BitBtnSpotDown1Click() { return MoveSelected(1); }

Result SpotSchedule::BitBtnDelSpot1Click() {
    if (Result refused = EditRefusal(); !refused.ok()) return refused;
    if (m_selected < 0) return Result::Ok();
    m_editedPaths.removeAt(m_selected);
    m_editedTitles.removeAt(m_selected);
    m_selected = -1;
    return EditDone();
}

Result SpotSchedule::BitBtnIdioMeSpots1Click(std::optional<int> chosenWeekday) {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (!chosenWeekday || !IsWeekday(*chosenWeekday)) return Result::Ok();
    // Onto itself there is nothing to copy, and rewriting would tidy a file nobody asked to.
    if (*chosenWeekday != m_dayTab) {
        for (int q = 0; q < 4; ++q) {
            if (!QFileInfo(spot_file::Path(m_spotsPath, *chosenWeekday, q)).isFile()) continue;
            const ReadResult<QStringList> source = spot_file::Read(m_spotsPath, *chosenWeekday, q);
            if (!source.ok()) return source;
            if (Result written = spot_file::Write(m_spotsPath, m_dayTab, q, source.value);
                !written.ok()) {
                return written;
            }
        }
    }
    return LoadSpotSlot(m_quarterTab);
}

Result SpotSchedule::AddSpot(const QString& path, const QString& title) {
    if (Result refused = EditRefusal(); !refused.ok()) return refused;
    // A line break would shift every later line of the file.
    if (path.isEmpty() || path.contains(QLatin1Char('\r')) || path.contains(QLatin1Char('\n')))
        return Result::Error(QStringLiteral("\"%1\" is not a file that can be a spot.").arg(path));
    m_editedPaths << path;
    m_editedTitles << (title.isEmpty() ? TrackTitle(path) : title);
    Result saved = EditDone();
    m_selected = int(m_editedPaths.size()) - 1;
    return saved;
}

// --- the main loop ----------------------------------------------------------------------

bool SpotSchedule::TakeRefreshNextSpots() {
    const bool was = m_refreshNextSpots;
    m_refreshNextSpots = false;
    return was;
}

void SpotSchedule::PrepareNextSpots(int hour, int minute) {
    if (!IsHour(hour) || minute < 0 || minute > 59) return;
    m_lastHour = hour;
    m_lastMinute = minute;
    const QDateTime now = m_clock.Now();
    // The tick read its time a moment ago; a clock past midnight since is still that day.
    const QDate today = now.time().hour() < hour ? now.date().addDays(-1) : now.date();
    int d = day_program::WeekdayNumber(today);
    QDate slotDay = today;
    int m = minute + 15;
    int h = hour;
    if (m >= 60) {
        m = 1;
        if (++h == spot_file::kHours) {
            h = 0;
            d = (d + 1) % 7;
            slotDay = today.addDays(1);
        }
    }
    const int q = m / 15;

    const bool showsUpcoming = m_editedDay == d && m_editedQuarter == q && m_editedHour == h;
    if (m_spotsEdited && !showsUpcoming) {
        // The operator's slot stays in the editor for this change. "Next Spots" stays too,
        // but only while it holds the upcoming slot: a list of the quarter before would
        // play the wrong spots.
        m_spotsEdited = false;
        if (m_nextDay == d && m_nextHour == h && m_nextQuarter == q) return;
    } else {
        m_quarterTab = q;
        ComboBoxHourSpots1Change(h);
    }

    const ReadResult<QStringList> file = spot_file::Read(m_spotsPath, d, q);
    if (!file.ok()) {
        const QString told = file.message() + QString::number(hour * 4 + minute / 15);
        if (told != m_toldProblem) Q_EMIT Problem(file.message());
        m_toldProblem = told;
    }
    m_nextPaths = spot_file::SlotSpots(file.value, h);
    m_nextChecked.assign(m_nextPaths.size(), true);
    m_nextDay = d;
    m_nextHour = h;
    m_nextQuarter = q;
    m_nextSlot = slotDay.toString(QStringLiteral("yyyy-MM-dd ")) +
                 QTime(h, q * 15).toString(QStringLiteral("HH:mm"));
}

void SpotSchedule::SpotFileRenamed(const QString& oldPath, const QString& newPath) {
    for (qsizetype i = 0; i < m_editedPaths.size(); ++i) {
        if (m_editedPaths[i] != oldPath) continue;
        m_editedPaths[i] = newPath;
        m_editedTitles[i] = TrackTitle(newPath);
    }
    for (QString& path : m_nextPaths)
        if (path == oldPath) path = newPath;
}

void SpotSchedule::AskStatistics(const QString& spotLine, bool timetable) {
    m_statistics = timetable ? spot_statistics::ShowProgram(m_spotsPath, spotLine)
                             : spot_statistics::ShowStats(m_spotsPath, spotLine);
}
