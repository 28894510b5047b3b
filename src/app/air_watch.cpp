#include "app/air_watch.h"

#include <algorithm>

#include "base/clock.h"
#include "base/timer_host.h"
#include "media/air_meter.h"

namespace {

constexpr int kLookMs = 100;
// A hand-over is measured over this much air either side of it.
constexpr qint64 kAroundMs = 1000;
// Nothing heard for this long: the listener has lost the sound server.
constexpr qint64 kDeafMs = 3000;

}  // namespace

AirWatch::AirWatch(Clock& clock, TimerHost& timers, Hooks hooks)
    : m_clock(clock), m_hooks(std::move(hooks)) {
    m_settings.Add("MonitorSource", MonitorSource)
        .Add("SilenceThreshold", SilenceThreshold)
        .Add("SilenceSeconds", SilenceSeconds)
        .Add("EmergencyList", EmergencyList);
    m_timer = timers.CreateTimer(QStringLiteral("TimerAirWatch"), kLookMs, [this] { Look(); });
}

AirWatch::~AirWatch() = default;

void AirWatch::Listen(const AirMeter& meter) {
    m_meter = &meter;
    m_listeningSinceMs = m_clock.Now().toMSecsSinceEpoch();
    m_offReason.clear();
    m_timer->SetEnabled(true);
}

void AirWatch::CannotListen(const QString& why) {
    m_meter = nullptr;
    m_timer->SetEnabled(false);
    if (m_offReason == why) return;
    m_offReason = why;
    Q_EMIT Off(why);
}

void AirWatch::HandOver(const QString& kind) {
    if (m_meter && !m_lastKind.isEmpty())
        m_pending.push_back({m_clock.Now().toMSecsSinceEpoch(), m_lastKind, kind});
    // A jingle and the hour play over the music, which is still what goes on after them.
    if (kind != QLatin1String("jingle") && kind != QLatin1String("hour")) m_lastKind = kind;
}

void AirWatch::Look() {
    if (!m_meter) return;
    const qint64 nowMs = m_clock.Now().toMSecsSinceEpoch();
    if (!WatchHearing(nowMs)) return;
    WatchSilence(nowMs);
    // Hand-overs the meter never heard (its listener was away) are not kept for ever.
    while (!m_pending.empty() && m_pending.front().atMs < nowMs - AirMeter::kHistoryMs)
        m_pending.pop_front();
    MeasureHandOvers();
}

bool AirWatch::WatchHearing(qint64 nowMs) {
    // Before its first sound the meter is given its seconds from the start of listening.
    const qint64 heardMs = std::max(m_meter->HeardUntilMs(), m_listeningSinceMs);
    const bool deaf = heardMs < nowMs - kDeafMs;
    if (deaf == m_deaf) return !deaf;
    m_deaf = deaf;
    if (deaf) {
        // What was heard last says nothing of the air now: no alarm on it either way.
        m_silentSince = {};
        m_step = Step::None;
        m_offReason =
            QStringLiteral("nothing heard from the sound server for %1 s").arg(kDeafMs / 1000);
        Q_EMIT Off(m_offReason);
    } else {
        m_offReason.clear();
        m_believedSinceMs = -1;  // a silence counts again from now
        Q_EMIT On();
    }
    return !deaf;
}

void AirWatch::WatchSilence(qint64 nowMs) {
    if (!m_hooks.believesSound()) {
        // The operator's own silence: no alarm, and one under way is the operator's now.
        m_believedSinceMs = -1;
        m_silentSince = {};
        m_step = Step::None;
        return;
    }
    if (m_believedSinceMs < 0) m_believedSinceMs = nowMs;
    const qint64 silentSinceMs = m_meter->SilentSinceMs(SilenceThreshold);
    if (silentSinceMs < 0) {
        if (Alarmed()) {
            const qint64 startMs = m_silentSince.toMSecsSinceEpoch();
            // The sound came back where the silent run heard last ended.
            const QList<AirWindow> since = m_meter->Windows(startMs, nowMs + 1);
            qint64 backMs = nowMs;
            for (const AirWindow& w : since)
                if (w.LevelDb() > SilenceThreshold) {
                    backMs = w.atMs;
                    break;
                }
            m_silentSince = {};
            m_step = Step::None;
            Q_EMIT Sound(double(backMs - startMs) / 1000.0);
        }
        return;
    }
    const qint64 startMs = std::max(silentSinceMs, m_believedSinceMs);
    const qint64 limitMs = qint64(SilenceSeconds) * 1000;
    if (!Alarmed()) {
        if (nowMs - startMs < limitMs) return;
        m_silentSince = QDateTime::fromMSecsSinceEpoch(startMs);
        Q_EMIT Silence(m_silentSince);
        TakeNextStep();
        return;
    }
    if (m_step != Step::Emergency && nowMs - m_stepAtMs >= limitMs) TakeNextStep();
}

void AirWatch::TakeNextStep() {
    m_stepAtMs = m_clock.Now().toMSecsSinceEpoch();
    switch (m_step) {
        case Step::None:
            m_step = Step::Next;
            Q_EMIT Recovery(QStringLiteral("next"), QString());
            m_hooks.next();
            break;
        case Step::Next:
            m_step = Step::Restart;
            Q_EMIT Recovery(QStringLiteral("restart"), QString());
            m_hooks.restartDecks();
            break;
        case Step::Restart:
            m_step = Step::Emergency;
            if (EmergencyList.isEmpty()) return;  // none named: the alarm is all there is
            Q_EMIT Recovery(QStringLiteral("emergency"), EmergencyList);
            m_hooks.playList(EmergencyList);
            break;
        case Step::Emergency:
            break;
    }
}

void AirWatch::MeasureHandOvers() {
    const qint64 heardMs = m_meter->HeardUntilMs();
    while (!m_pending.empty() && heardMs >= m_pending.front().atMs + kAroundMs) {
        const PendingHandOver h = m_pending.front();
        m_pending.pop_front();
        const QList<AirWindow> around = m_meter->Windows(h.atMs - kAroundMs, h.atMs + kAroundMs);
        if (around.isEmpty()) continue;  // heard nothing of it (the listener was away)
        const TransitionMeasure m = MeasureTransition(around, SilenceThreshold);
        // A hole that began before the span around the hand-over counts whole.
        const int holeMs =
            HoleReachingIntoMs(m_meter->Windows(h.atMs - AirMeter::kHistoryMs, h.atMs + kAroundMs),
                               h.atMs - kAroundMs, h.atMs + kAroundMs, SilenceThreshold);
        Q_EMIT Transition(h.from, h.to, m.quietestDb, holeMs);
    }
}
