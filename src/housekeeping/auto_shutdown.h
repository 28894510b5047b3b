#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "base/settings_table.h"

class Clock;
class Timer;
class TimerHost;

/// The automatic shutdown at a set time of day. `TimerShutDown1` looks at the clock every
/// 50 s while `ShutDown` is on, so every minute of the day is seen at least once; in the
/// set minute the red `PanelShutdown` shows and `TimerShutDn2` counts 60 seconds down. The
/// tick that shows 0 sends ShutdownDue; "Cancel Shutdown" goes back to watching. Switching
/// `ShutDown` off stops the watching only: a countdown already running goes on.
class AutoShutdown : public QObject {
    Q_OBJECT
public:
    static constexpr int kWatchMs = 50'000;
    static constexpr int kCountdownSeconds = 60;

    AutoShutdown(const Clock& clock, TimerHost& timers);
    ~AutoShutdown() override;

    /// "ShutDown", "ShutDownHour" and "ShutDownMin"; reading them switches the watching.
    SettingsTable& Settings() { return m_settings; }
    bool ShutDown() const { return m_shutDown; }
    int ShutDownHour() const { return m_shutDownHour; }
    int ShutDownMin() const { return m_shutDownMin; }
    void SetShutDown(bool on);
    void SetShutDownHour(int hour) { m_shutDownHour = hour; }
    void SetShutDownMin(int minute) { m_shutDownMin = minute; }

    bool Watching() const;
    bool PanelShutdownVisible() const { return m_panelVisible; }
    /// `LabelWinShutDnSec1`: "Sec" until the first second of a countdown has passed, then
    /// the seconds left, down to 0.
    const QString& LabelWinShutDnSec1() const { return m_secondsText; }
    /// "Cancel Shutdown": the panel goes, the watching starts again.
    void ButtonCancelShutDown2Click();

Q_SIGNALS:
    /// The panel appeared or went, or the countdown moved.
    void Changed();
    /// The countdown ran out: the station is to close and the machine to power off.
    void ShutdownDue();

private:
    void TimerShutDown1Timer();
    void TimerShutDn2Timer();
    void ApplySettings();

    const Clock& m_clock;
    bool m_shutDown = false;
    int m_shutDownHour = 0;
    int m_shutDownMin = 0;
    SettingsTable m_settings;
    std::unique_ptr<Timer> m_watch;      // TimerShutDown1
    std::unique_ptr<Timer> m_countdown;  // TimerShutDn2
    bool m_panelVisible = false;
    int m_secondsLeft = 0;
    QString m_secondsText = QStringLiteral("Sec");
};
