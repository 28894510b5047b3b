#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

class Clock;
class SpotEditor;

/// "Next Spots": the spots of the quarter that begins next, with their check boxes,
/// prepared each tick and read by the spot runner. It reads the weekly spot files itself
/// and asks the Spots tab (SpotEditor) only whether an edit was saved and whether the tab
/// may follow the coming quarter.
class SpotSchedule : public QObject {
    Q_OBJECT
public:
    /// spotsPath ends in "/" (or "\").
    SpotSchedule(QString spotsPath, const Clock& clock, SpotEditor& editor);

    const QStringList& NextSpotPaths() const { return m_nextPaths; }
    /// The rows of ListBoxSpotsNow1: the track titles of NextSpotPaths.
    QStringList NextSpotTitles() const;
    bool NextSpotChecked(int index) const;
    /// The quarter "Next Spots" was filled for: its local start "YYYY-MM-DD HH:MM" (the
    /// day the clock gives it, so 00:00 is the day after a fill at 23:45). Empty before any.
    const QString& NextSpotsSlot() const { return m_nextSlot; }
    /// The first checked row, -1 when none is (or the list is empty).
    int FirstCheckedSpot() const;
    int CheckedSpotCount() const;

    int LastSpotHour() const { return m_lastHour; }
    int LastSpotMinute() const { return m_lastMinute; }

    /// Check box of a "Next Spots" row: an unchecked spot is passed over by the run.
    void SetNextSpotChecked(int index, bool checked);
    /// A spot file renamed on disk (its lines already rewritten): "Next Spots" names the
    /// new path from now on, so the run never looks for the old one.
    void SpotFileRenamed(const QString& oldPath, const QString& newPath);
    /// The spot files were rewritten on disk by someone else: "Next Spots" is rebuilt at
    /// the next tick.
    void SpotFilesRewritten() { m_refreshNextSpots = true; }

    /// Fills "Next Spots" with the quarter that begins after hour:minute (today's weekday
    /// from the clock) and moves the Spots tab there, unless the operator just edited
    /// another slot. A spot file that cannot be read is told once a quarter as a Problem.
    void PrepareNextSpots(int hour, int minute);
    /// Clears the request an edit (or a rewrite) made and says whether there was one.
    bool TakeRefreshNextSpots();

    /// "Next Spots" as it stands, to go on with after a restart.
    struct Saved {
        QStringList paths;
        std::vector<bool> checked;
        int day = -1, hour = -1, quarter = -1;
        QString slot;
        int lastHour = -1, lastMinute = -1;
    };
    Saved Save() const;
    void Restore(const Saved& saved);

Q_SIGNALS:
    /// Something the station met on its own that the operator should hear.
    void Problem(const QString& message);

private:
    QString m_spotsPath;
    const Clock& m_clock;
    SpotEditor& m_editor;

    QStringList m_nextPaths;
    std::vector<bool> m_nextChecked;
    // The slot "Next Spots" was filled from (weekday, hour, quarter), -1 before any.
    int m_nextDay = -1;
    int m_nextHour = -1;
    int m_nextQuarter = -1;
    QString m_nextSlot;
    QString m_toldProblem;  // the last unreadable file told, with its quarter

    bool m_refreshNextSpots = false;
    int m_lastHour = -1;
    int m_lastMinute = -1;
};
