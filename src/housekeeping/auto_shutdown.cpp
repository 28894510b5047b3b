#include "housekeeping/auto_shutdown.h"

#include "base/clock.h"
#include "base/timer_host.h"

namespace {

constexpr int kCountdownTickMs = 1'000;

}  // namespace

AutoShutdown::AutoShutdown(const Clock& clock, TimerHost& timers)
    : m_clock(clock), m_settings([this] { ApplySettings(); }) {
    m_settings.Add("ShutDown", m_shutDown)
        .Add("ShutDownHour", m_shutDownHour)
        .Add("ShutDownMin", m_shutDownMin);
    m_watch = timers.CreateTimer(QStringLiteral("TimerShutDown1"), kWatchMs,
                                 [this] { TimerShutDown1Timer(); });
    m_countdown = timers.CreateTimer(QStringLiteral("TimerShutDn2"), kCountdownTickMs,
                                     [this] { TimerShutDn2Timer(); });
}

AutoShutdown::~AutoShutdown() = default;

void AutoShutdown::ApplySettings() { m_watch->SetEnabled(m_shutDown); }

void AutoShutdown::SetShutDown(bool on) {
    m_shutDown = on;
    m_watch->SetEnabled(on);
}

bool AutoShutdown::Watching() const { return m_watch->Enabled(); }

void AutoShutdown::ButtonCancelShutDown2Click() {
    m_countdown->SetEnabled(false);
    m_panelVisible = false;
    m_watch->SetEnabled(true);
    Q_EMIT Changed();
}

void AutoShutdown::TimerShutDown1Timer() {
    m_watch->SetEnabled(false);
    const QTime now = m_clock.Now().time();
    if (now.hour() != m_shutDownHour || now.minute() != m_shutDownMin) {
        m_watch->SetEnabled(true);
        return;
    }
    m_panelVisible = true;
    m_secondsLeft = kCountdownSeconds;
    m_countdown->SetEnabled(true);
    Q_EMIT Changed();
}

void AutoShutdown::TimerShutDn2Timer() {
    m_countdown->SetEnabled(false);
    --m_secondsLeft;
    m_secondsText = QString::number(m_secondsLeft);
    Q_EMIT Changed();
    if (m_secondsLeft < 1) {
        // The station closes from here on: nothing is counted any more.
        Q_EMIT ShutdownDue();
        return;
    }
    m_countdown->SetEnabled(true);
}
