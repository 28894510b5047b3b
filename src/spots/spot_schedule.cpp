#include "spots/spot_schedule.h"

#include <QDateTime>
#include <algorithm>

#include "base/clock.h"
#include "schedule/day_program.h"
#include "schedule/list_file.h"
#include "spots/spot_editor.h"
#include "spots/spot_file.h"

SpotSchedule::SpotSchedule(QString spotsPath, const Clock& clock, SpotEditor& editor)
    : m_spotsPath(std::move(spotsPath)), m_clock(clock), m_editor(editor) {}

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

void SpotSchedule::SetNextSpotChecked(int index, bool checked) {
    if (index >= 0 && index < int(m_nextChecked.size())) m_nextChecked[index] = checked;
}

SpotSchedule::Saved SpotSchedule::Save() const {
    return {m_nextPaths,   m_nextChecked, m_nextDay,  m_nextHour,
            m_nextQuarter, m_nextSlot,    m_lastHour, m_lastMinute};
}

void SpotSchedule::Restore(const Saved& saved) {
    m_nextPaths = saved.paths;
    m_nextChecked = saved.checked;
    m_nextChecked.resize(m_nextPaths.size(), true);
    m_nextDay = saved.day;
    m_nextHour = saved.hour;
    m_nextQuarter = saved.quarter;
    m_nextSlot = saved.slot;
    m_lastHour = saved.lastHour;
    m_lastMinute = saved.lastMinute;
}

bool SpotSchedule::TakeRefreshNextSpots() {
    const bool saved = m_editor.TakeSpotsSaved();
    const bool was = m_refreshNextSpots || saved;
    m_refreshNextSpots = false;
    return was;
}

void SpotSchedule::PrepareNextSpots(int hour, int minute) {
    if (hour < 0 || hour >= spot_file::kHours || minute < 0 || minute > 59) return;
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

    // The operator's slot stays in the editor for this change. "Next Spots" stays too,
    // but only while it holds the upcoming slot: a list of the quarter before would play
    // the wrong spots.
    if (!m_editor.FollowUpcoming(d, h, q) && m_nextDay == d && m_nextHour == h &&
        m_nextQuarter == q)
        return;

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
    for (QString& path : m_nextPaths)
        if (path == oldPath) path = newPath;
}
