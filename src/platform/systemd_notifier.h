#pragma once

#include <QByteArray>
#include <QString>

class QObject;

/// What the station tells the service manager that started it (a systemd unit of
/// Type=notify): that it is ready, a status line, the watchdog's keep-alive, that it stops.
/// Nothing is sent when no manager listens (NOTIFY_SOCKET unset), nor on Windows.
class SystemdNotifier final {
public:
    SystemdNotifier();

    /// Whether a service manager listens.
    bool Listening() const { return m_listening; }
    /// Start-up is over; statusText is the first status line.
    void Ready(const QString& statusText) const;
    void Status(const QString& text) const;
    /// The watchdog's "still alive", due within every WatchdogIntervalMs.
    void KeepAlive() const;
    /// The watchdog's interval the manager asked for; 0 when it asks for none.
    int WatchdogIntervalMs() const { return m_watchdogMs; }
    void Stopping() const;

private:
    void Send(const QByteArray& state) const;

    bool m_listening = false;
    int m_watchdogMs = 0;
};

/// Fault injection for testing a watchdog: with STAVOX_HANG_CORE_AFTER_MS=N in the
/// environment, the thread of context blocks for good N ms from now, as a core caught in an
/// endless loop would. Does nothing when it is unset.
void HangThreadWhenAsked(QObject* context);
