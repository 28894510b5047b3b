#include "platform/qt_timer_host.h"

#include <QTimer>

namespace {

class QtTimer final : public Timer {
public:
    QtTimer(const QString& name, int intervalMs, std::function<void()> onTick)
        : m_name(name), m_interval(intervalMs) {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(std::max(intervalMs, 0));
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onTick));
    }

    QString Name() const override { return m_name; }
    int Interval() const override { return m_interval; }
    bool Enabled() const override { return m_enabled; }

    void SetInterval(int ms) override {
        if (ms == m_interval) return;
        m_interval = ms;
        Apply(true);
    }
    void SetEnabled(bool on) override {
        if (on == m_enabled) return;
        m_enabled = on;
        Apply(true);
    }

private:
    // An interval of 0 or less never fires, as a window timer with interval 0.
    void Apply(bool restart) {
        if (!m_enabled || m_interval <= 0) {
            m_timer.stop();
            return;
        }
        m_timer.setInterval(m_interval);
        if (restart || !m_timer.isActive()) m_timer.start();
    }

    QString m_name;
    int m_interval;
    bool m_enabled = false;
    QTimer m_timer;
};

}  // namespace

std::unique_ptr<Timer> QtTimerHost::CreateTimer(const QString& name, int intervalMs,
                                                std::function<void()> onTick) {
    return std::make_unique<QtTimer>(name, intervalMs, std::move(onTick));
}
