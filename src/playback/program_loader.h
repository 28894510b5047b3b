#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

#include "base/result.h"
#include "base/settings_table.h"

class Clock;
class PlayQueue;

/// The scheduler: turns today's day file into the pools of the play queue. It reads the
/// day file itself (`ListBoxProgramNow1`), never the copy the Calendar tab edits, so
/// calendar edits reach it only once they are saved.
class ProgramLoader : public QObject {
    Q_OBJECT
public:
    /// listsPath and daysPath end in "/" (or "\"); the clock gives today's weekday.
    ProgramLoader(QString listsPath, QString daysPath, const Clock& clock, PlayQueue& queue);

    /// Loads the program of the slot of hour:minute into the queue's pools and draws a
    /// fresh queue of five, unless that program is already loaded (a continuation slot)
    /// or a list started by hand goes on through it. An unreadable day file loads nothing
    /// and is an error; an unreadable list plays as empty, with a warning.
    Result LoadProgramOfHour(int hour, int minute);
    /// "PlayThe Program now": one list, started by hand, plays until the next program
    /// start or empty slot. An empty name does nothing; an unreadable list changes nothing.
    Result PlayTheProgramnow1Click(const QString& listName);

    /// Set while a list started by hand keeps playing.
    bool HandProgramPlaying = false;
    /// `CheckBoxDontClearAutomaticallyPrevTracks`: keep the played list over a program change.
    bool DontClearPrevTracks = false;
    /// The operator ticks or clears that box.
    void CheckBoxDontClearAutomaticallyPrevTracksClick(bool checked);

    /// The 48 lines of today's day file as last read.
    const QStringList& ListBoxProgramNow1() const { return m_programNow; }
    /// The program value now playing as the day file holds it, or a hand-started list.
    const QString& LabelProgramName1() const { return m_programName; }
    /// "hh:mm - hh:mm" of the current program.
    const QString& LabelWra2() const { return m_span; }
    /// Today's date, "d-m-yy".
    const QString& LabelMera1() const { return m_date; }
    /// Today's long weekday name.
    const QString& LabelHmera1() const { return m_dayName; }
    /// The queue's TracksToPlay as last shown (or the selection list's size, see PlayQueue).
    QString LabeltracksToPlay1() const;

    /// DontClearPrevTracks, as the station's settings keep it.
    SettingsTable& Settings() { return m_settings; }

Q_SIGNALS:
    /// A new program begins and the played list (`ListBoxPrevPlayed1` and its paths)
    /// is to be emptied; not sent while DontClearPrevTracks is set.
    void PlayedListOutdated();
    /// A program of the calendar is being loaded (its program value), for the as-run log.
    void ProgramLoaded(const QString& value);

private:
    /// Reads the lists (a missing file is an empty pool) and starts them; a warning names
    /// the lists that could not be read.
    Result LoadLists(const QStringList& names);
    /// Replaces the pools and draws a fresh queue of five.
    void StartLists(const QStringList& names, const QList<QStringList>& lists);

    QString m_listsPath;
    QString m_daysPath;
    const Clock& m_clock;
    PlayQueue& m_queue;
    QStringList m_programNow;
    QString m_programName;
    QString m_span;
    QString m_date;
    QString m_dayName;
    /// The slot of the last load, and the program and the lists' problem told for it.
    struct Told {
        QDate date;
        int slot = -1;
        QString value;
        QString problem;
    } m_told;
    SettingsTable m_settings;
};
