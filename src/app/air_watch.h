#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <memory>

#include "base/settings_table.h"

class AirMeter;
class Clock;
class Timer;
class TimerHost;

/// The station listening to its own air, as an AirMeter hears it.
///
/// Dead air: when the air stays at or below SilenceThreshold (dBFS) for SilenceSeconds
/// while the station believes something plays, it says so (Silence) and, each further
/// SilenceSeconds it lasts, takes a step to bring sound back: the next entry, then the decks
/// restarted, then the list named EmergencyList. Sound back is told with the seconds it
/// lasted. A silence the station does not expect (paused, the line input open, manual mode
/// waiting) is no alarm.
///
/// Every hand-over the station tells (HandOver, with the kind of sound that starts) is
/// measured once the air a second after it was heard: the quietest 20 ms around it and its
/// longest hole (Transition).
class AirWatch : public QObject {
    Q_OBJECT
public:
    /// What the watch asks of the station and does to it.
    struct Hooks {
        std::function<bool()> believesSound;           ///< something should be on air now
        std::function<void()> next;                    ///< start the next entry
        std::function<void()> restartDecks;            ///< the players ended and started again
        std::function<bool(const QString&)> playList;  ///< puts a stored list on air
    };
    enum class Step { None, Next, Restart, Emergency };

    AirWatch(Clock& clock, TimerHost& timers, Hooks hooks);
    ~AirWatch() override;

    // Stored settings.
    QString MonitorSource;  ///< the sound server's source; empty: the default output's monitor
    int SilenceThreshold = -45;
    int SilenceSeconds = 5;
    QString EmergencyList;
    SettingsTable& Settings() { return m_settings; }

    /// From now on the watch listens to what the meter hears (it outlives the watch).
    void Listen(const AirMeter& meter);
    /// The monitor could not start: said once (Off), and the watch stays idle.
    void CannotListen(const QString& why);
    bool Listening() const { return m_meter != nullptr; }
    const QString& OffReason() const { return m_offReason; }

    /// A sound of this kind ("track", "spot", "jingle", "hour", "line") starts now.
    void HandOver(const QString& kind);

    /// The alarm is on since the silence began at SilentSince.
    bool Alarmed() const { return m_silentSince.isValid(); }
    const QDateTime& SilentSince() const { return m_silentSince; }
    Step StepTaken() const { return m_step; }

    /// One look at the air (the watch's timer does this every 100 ms).
    void Look();

Q_SIGNALS:
    void Off(const QString& why);
    /// The meter hears the air again after it heard nothing for a while (Off told why).
    void On();
    void Silence(const QDateTime& start);
    /// step is "next", "restart" or "emergency" (detail: the list).
    void Recovery(const QString& step, const QString& detail);
    void Sound(double seconds);
    void Transition(const QString& from, const QString& to, double quietestDb, int holeMs);

private:
    struct PendingHandOver {
        qint64 atMs;
        QString from, to;
    };
    void WatchSilence(qint64 nowMs);
    /// Tells Off when the meter has heard nothing for a while (the sound server went away),
    /// and On when it hears again; false while it hears nothing.
    bool WatchHearing(qint64 nowMs);
    void TakeNextStep();
    void MeasureHandOvers();

    Clock& m_clock;
    Hooks m_hooks;
    SettingsTable m_settings;
    std::unique_ptr<Timer> m_timer;
    const AirMeter* m_meter = nullptr;
    QString m_offReason;
    bool m_deaf = false;
    qint64 m_listeningSinceMs = 0;
    qint64 m_believedSinceMs = -1;  // when the station last began to expect sound
    QDateTime m_silentSince;        // the alarm's silence; invalid when no alarm
    qint64 m_stepAtMs = 0;
    Step m_step = Step::None;
    QString m_lastKind;
    std::deque<PendingHandOver> m_pending;
};
