#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class Clock;
class PlaybackEngine;
class Timer;
class TimerHost;

/// The fragment names that speak a clock time, rounded to the nearest minute: "TheHourIs",
/// the hour on a 12-hour dial ("h12" for 0 and 12), "kai", then the minute words (none on
/// the full hour). Three to five names, without extension.
QStringList HourFragments(int hour, int minute, int second);

/// The spoken time over the music. "Hour" lowers the music and raises the other deck; two
/// seconds later the fragments of the time are written as the play list "hourToPlay.m3u"
/// and handed to the next deck, which keeps its role; six seconds after that the music is
/// raised again, whether or not the fragments have finished.
class HourAnnouncement : public QObject {
    Q_OBJECT
public:
    static constexpr int kStartDelayMs = 2000;    ///< TimerSpot3
    static constexpr int kRestoreAfterMs = 6000;  ///< TimerSpots1
    static constexpr char kPlayListName[] = "hourToPlay.m3u";

    /// hoursPath is the folder of the recordings (ends in a separator); the play list is
    /// written there too unless another folder is set.
    HourAnnouncement(const QString& hoursPath, const Clock& clock, TimerHost& timers,
                     PlaybackEngine& engine);
    ~HourAnnouncement() override;
    HourAnnouncement(const HourAnnouncement&) = delete;
    HourAnnouncement& operator=(const HourAnnouncement&) = delete;

    /// BitBtnSayHour1: nothing without the second player. A click while an announcement
    /// runs starts it over; the music comes back once, at the end of the last one.
    void BitBtnSayHour1Click();

    /// Where the play list is written. The recordings stay in hoursPath, and the names in
    /// the list are resolved by the player next to the list, so only a station whose decks
    /// never read the list (the week preview) points it elsewhere. With no folder at all
    /// nothing is written or handed over.
    void SetPlayListFolder(const QString& folder);
    QString PlayListPath() const;

    /// CheckBox1 "Wav/Mp3 for time": never shown, checked, so ".mp3".
    bool CheckBox1 = true;
    QString Extension() const;

    /// From the click until the music is raised again.
    bool Running() const;

Q_SIGNALS:
    /// The play list of these fragment files (names with extension) is about to be handed over.
    void Announced(const QStringList& files);
    /// The music was raised again at the end of an announcement.
    void MusicRestored();
    /// Recordings missing from the hour folder (once for each set), or a play list that
    /// could not be written.
    void Problem(const QString& message);

private:
    void TimerSpot3Timer();
    void TimerSpots1Timer();

    QString m_hoursPath;
    QString m_playListFolder;
    const Clock& m_clock;
    PlaybackEngine& m_engine;
    std::unique_ptr<Timer> m_spot3;
    std::unique_ptr<Timer> m_spots1;
    QSet<QString> m_reportedMissing;  // each set of missing names is told once
};
