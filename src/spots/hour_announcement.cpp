#include "spots/hour_announcement.h"

#include <QDir>
#include <QFileInfo>

#include "base/clock.h"
#include "base/text_file.h"
#include "base/timer_host.h"
#include "playback/deck_start.h"
#include "playback/playback_engine.h"

QStringList HourFragments(int hour, int minute, int second) {
    // Half a minute or more says the next minute, which may carry into the next hour and
    // past midnight.
    if (second >= 30 && ++minute == 60) {
        minute = 0;
        if (++hour == 24) hour = 0;
    }
    const int dial = hour <= 12 ? hour : hour - 12;
    QStringList names{QStringLiteral("TheHourIs"), QStringLiteral("h%1").arg(dial == 0 ? 12 : dial),
                      QStringLiteral("kai")};
    if (minute == 0) return names;  // the full hour ends on "kai"
    const int tens = minute / 10;
    const int units = minute % 10;
    // The recordings hold 11 and 12 as words of their own; 13 to 19 are "ten" and a unit.
    if (minute == 11 || minute == 12 || tens == 0 || units == 0) {
        names << QStringLiteral("m%1").arg(minute);
    } else {
        names << QStringLiteral("m%1").arg(10 * tens) << QStringLiteral("m%1").arg(units);
    }
    return names;
}

HourAnnouncement::HourAnnouncement(const QString& hoursPath, const Clock& clock, TimerHost& timers,
                                   PlaybackEngine& engine)
    : m_hoursPath(hoursPath), m_playListFolder(hoursPath), m_clock(clock), m_engine(engine) {
    m_spot3 = timers.CreateTimer(QStringLiteral("TimerSpot3"), kStartDelayMs,
                                 [this] { TimerSpot3Timer(); });
    m_spots1 = timers.CreateTimer(QStringLiteral("TimerSpots1"), kRestoreAfterMs,
                                  [this] { TimerSpots1Timer(); });
}

HourAnnouncement::~HourAnnouncement() = default;

void HourAnnouncement::SetPlayListFolder(const QString& folder) { m_playListFolder = folder; }

QString HourAnnouncement::PlayListPath() const {
    return QDir(m_playListFolder).filePath(QLatin1String(kPlayListName));
}

QString HourAnnouncement::Extension() const {
    return CheckBox1 ? QStringLiteral(".mp3") : QStringLiteral(".wav");
}

bool HourAnnouncement::Running() const { return m_spot3->Enabled() || m_spots1->Enabled(); }

void HourAnnouncement::BitBtnSayHour1Click() {
    if (!m_engine.Players().SecondPlayerFound) return;
    m_engine.BarsForTickParts().FadeIn1Amp();
    // Starting over: the restore of the announcement under way would raise the music in
    // the middle of the new one, and then again at its end.
    m_spots1->SetEnabled(false);
    m_spot3->SetEnabled(false);
    m_spot3->SetEnabled(true);
}

void HourAnnouncement::TimerSpot3Timer() {
    m_spot3->SetEnabled(false);
    // The music comes back at its time even when nothing could be handed over.
    m_spots1->SetEnabled(true);
    const QTime now = m_clock.Now().time();
    QStringList present;
    QStringList missing;
    for (const QString& name : HourFragments(now.hour(), now.minute(), now.second())) {
        const QString file = name + Extension();
        (QFileInfo(m_hoursPath + file).isFile() ? present : missing) << file;
    }
    if (!missing.isEmpty()) {
        const QString key = missing.join(u' ');
        if (!m_reportedMissing.contains(key)) {
            m_reportedMissing.insert(key);
            Q_EMIT Problem(QStringLiteral("The hour announcement has no recording %1 in %2; it "
                                          "says what there is.")
                               .arg(missing.join(QStringLiteral(", ")),
                                    QDir::toNativeSeparators(m_hoursPath)));
        }
    }
    if (present.isEmpty()) return;
    if (m_playListFolder.isEmpty()) {
        Q_EMIT Problem(QStringLiteral("The hour announcement has no folder for its play list."));
        return;
    }
    const Result written = text_file::WriteLines(PlayListPath(), present);
    if (!written.ok()) {
        // An old list would say another time: better none at all.
        Q_EMIT Problem(written.message());
        return;
    }
    // Over the music, which the announcement's own fades dip and bring back.
    StartOnNextDeck(m_engine, PlayListPath(), std::nullopt, 0, std::nullopt,
                    [&] { Q_EMIT Announced(present); });
}

void HourAnnouncement::TimerSpots1Timer() {
    m_spots1->SetEnabled(false);
    m_engine.BarsForTickParts().FadeIn0Amp();
    Q_EMIT MusicRestored();
}
