#include "platform/systemd_notifier.h"

#include <QThread>
#include <QTimer>

#ifndef _WIN32
#include <systemd/sd-daemon.h>
#endif

namespace {

// A status is one line of the message: a line end would start the next assignment.
QByteArray StatusLine(const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return "STATUS=" + line.toUtf8();
}

}  // namespace

SystemdNotifier::SystemdNotifier() {
#ifndef _WIN32
    m_listening = !qEnvironmentVariableIsEmpty("NOTIFY_SOCKET");
    uint64_t usec = 0;
    if (m_listening && sd_watchdog_enabled(0, &usec) > 0) m_watchdogMs = int(usec / 1000);
#endif
}

void SystemdNotifier::Ready(const QString& statusText) const {
    Send("READY=1\n" + StatusLine(statusText));
}

void SystemdNotifier::Status(const QString& text) const { Send(StatusLine(text)); }

void SystemdNotifier::KeepAlive() const { Send("WATCHDOG=1"); }

void SystemdNotifier::Stopping() const { Send("STOPPING=1"); }

void SystemdNotifier::Send(const QByteArray& state) const {
#ifndef _WIN32
    // A manager that went away cannot be told anything more; the station plays on.
    if (m_listening) sd_notify(0, state.constData());
#else
    Q_UNUSED(state);
#endif
}

void HangThreadWhenAsked(QObject* context) {
    bool given = false;
    const int afterMs = qEnvironmentVariableIntValue("STAVOX_HANG_CORE_AFTER_MS", &given);
    if (!given) return;
    QTimer::singleShot(afterMs, context, [] {
        for (;;) QThread::sleep(3600);
    });
}
