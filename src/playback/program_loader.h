#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

#include "base/result.h"
#include "base/settings_table.h"
#include "playback/tick_part.h"

class Calendar;
class Clock;
class PlaybackEngine;

/// The scheduler, the first part of the main loop's tick: when a new half-hour slot begins,
/// or the calendar changed what plays now, it turns today's program into the pools of the
/// play queue. It takes the day from the calendar as the calendar last read or saved it
/// (`ListBoxProgramNow1`), so calendar edits reach it once they are saved.
class ProgramLoader : public QObject, public TickPart {
    Q_OBJECT
public:
    /// listsPath ends in "/" (or "\"); the clock gives today's weekday. The loader hears the
    /// calendar's changes and fills the engine's queue; add it to the engine's tick first.
    ProgramLoader(QString listsPath, Calendar& calendar, const Clock& clock,
                  PlaybackEngine& engine);

    /// Loads when a slot begins or a reload is due; never ends the tick, never waits for
    /// the deck.
    bool TakesTick(const TickMoment& moment) override;
    bool WaitsForDeck() const override { return false; }
    /// Start-up: the half-hour slot whose program is loaded. The first tick looks once more.
    void SetLastProgramSlot(int slot);

    /// Loads the program of the slot of hour:minute into the queue's pools and draws a
    /// fresh queue of five, unless that program is already loaded (a continuation slot)
    /// or a list started by hand goes on through it. A day the calendar cannot read loads
    /// nothing and is an error; an unreadable list plays as empty, with a warning.
    Result LoadProgramOfHour(int hour, int minute);
    /// "PlayThe Program now": one list, started by hand, plays until the next program
    /// start or empty slot. An empty name does nothing; an unreadable list changes nothing.
    Result PlayTheProgramnow1Click(const QString& listName);

    /// Set while a list started by hand keeps playing.
    bool HandProgramPlaying = false;
    /// Going on after a restart: the program on air, started by hand or not, is the one
    /// loaded and is not told again.
    void GoOnWith(const QString& programName, bool byHand);
    /// `CheckBoxDontClearAutomaticallyPrevTracks`: keep the played list over a program change.
    bool DontClearPrevTracks = false;
    /// The operator ticks or clears that box.
    void CheckBoxDontClearAutomaticallyPrevTracksClick(bool checked);

    /// The 48 slots of today's program as last loaded.
    const QStringList& ListBoxProgramNow1() const { return m_programNow; }
    /// The program value now playing as the day holds it, or a hand-started list.
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
    /// A program due on the tick could not be loaded whole (its day or a list could not be
    /// read); the music goes on with what it has.
    void Problem(const QString& message);

private:
    /// Reads the lists (a missing file is an empty pool) and starts them; a warning names
    /// the lists that could not be read.
    Result LoadLists(const QStringList& names);
    void LoadOnTick(const TickMoment& moment);

    QString m_listsPath;
    Calendar& m_calendar;
    const Clock& m_clock;
    PlaybackEngine& m_engine;
    /// The half-hour slot (0..47) for which the program was last loaded.
    int m_lastProgramSlot = 0;
    /// The calendar changed what plays now (and at start-up): the next tick loads again.
    bool m_reloadDue = true;
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
